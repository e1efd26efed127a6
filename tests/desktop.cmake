# At home on the desktop: the window at every device-pixel ratio, where it
# cannot move, with the keyboard alone and with screen readers; the command
# line, the install and the Windows resources.

yopo_test(test_hidpi SOURCES test_hidpi.cpp LIBRARIES yopo_game yopo_qtwindow)
foreach(ratio 1.25 1.5 2)
    add_test(NAME test_hidpi_${ratio}x COMMAND test_hidpi)
    set_tests_properties(test_hidpi_${ratio}x PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${ratio}")
endforeach()
yopo_test(test_placement SOURCES test_placement.cpp LIBRARIES yopo_game yopo_qtwindow)
yopo_test(test_keyboard SOURCES test_keyboard.cpp LIBRARIES yopo_game yopo_qtwindow)
yopo_test(test_accessibility SOURCES test_accessibility.cpp LIBRARIES yopo_game yopo_qtwindow)

yopo_test(test_command_line SOURCES test_command_line.cpp)
target_compile_definitions(test_command_line PRIVATE
    YOPO_BINARY="$<TARGET_FILE:yopo>" YOPO_VERSION="${PROJECT_VERSION}")

include(GNUInstallDirs)
yopo_test(test_install SOURCES test_install.cpp LIBRARIES Qt6::Gui)
target_compile_definitions(test_install PRIVATE
    YOPO_CMAKE="${CMAKE_COMMAND}" YOPO_BUILD_DIR="${PROJECT_BINARY_DIR}"
    YOPO_APP_ID="${YOPO_APP_ID}" YOPO_VERSION="${PROJECT_VERSION}"
    YOPO_ASSETS_DIR="${PROJECT_SOURCE_DIR}/assets"
    YOPO_INSTALL_BINDIR="${CMAKE_INSTALL_BINDIR}" YOPO_INSTALL_MANDIR="${CMAKE_INSTALL_MANDIR}")
# Installs what the build made: it runs once both programs are built.
add_dependencies(test_install yopo yopo-headless)

find_program(YOPO_WINDRES x86_64-w64-mingw32-windres)
yopo_test(test_windows_resource SOURCES test_windows_resource.cpp)
target_compile_definitions(test_windows_resource PRIVATE
    YOPO_WINDRES="${YOPO_WINDRES}" YOPO_PREPROCESSOR="${CMAKE_CXX_COMPILER}"
    YOPO_RC="${PROJECT_BINARY_DIR}/desktop/yopo.rc" YOPO_VERSION="${PROJECT_VERSION}"
    YOPO_ICON="${PROJECT_SOURCE_DIR}/assets/yopo.ico")

# Real desktops: the game on a headless Weston through Qt's Wayland platform,
# and its end when the X server or the compositor goes away.
add_subdirectory(hand)
qt_add_executable(test_real_desktops test_real_desktops.cpp)
target_link_libraries(test_real_desktops PRIVATE Qt6::Test Qt6::Gui yopo_warnings)
target_compile_definitions(test_real_desktops PRIVATE
    YOPO_BINARY="$<TARGET_FILE:yopo>" YOPO_PLUGINS="${CMAKE_CURRENT_BINARY_DIR}/hand/plugins")
add_dependencies(test_real_desktops yopo yopo_hand)
# One CTest test for each desktop, both with the label of the desktop tests.
add_test(NAME test_wayland COMMAND test_real_desktops waylandGameShakesAndEnds)
add_test(NAME test_display_lost COMMAND test_real_desktops xServerGoneMidGame)
set_tests_properties(test_wayland test_display_lost PROPERTIES LABELS desktop TIMEOUT 60)

# A held key on a real X server, whose repeats Qt often reports as fresh presses.
qt_add_executable(test_held_keys test_held_keys.cpp)
target_include_directories(test_held_keys PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(test_held_keys PRIVATE Qt6::Test yopo_game yopo_qtwindow yopo_warnings)
add_test(NAME test_held_keys
         COMMAND ${YOPO_XVFB_RUN} $<TARGET_FILE:test_held_keys>)
set_tests_properties(test_held_keys PROPERTIES LABELS desktop TIMEOUT 60
                     ENVIRONMENT "QT_QPA_PLATFORM=xcb")
