# The committed pictures: their file formats, and that the generator in
# tools/assetgen still produces exactly them.

add_executable(test_assets test_assets.cpp)
target_link_libraries(test_assets PRIVATE yopo_assetgen Qt6::Test Qt6::Gui yopo_warnings)
target_compile_definitions(test_assets PRIVATE YOPO_ASSETS_DIR="${PROJECT_SOURCE_DIR}/assets")
add_test(NAME assets COMMAND test_assets)
