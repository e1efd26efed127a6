# release.cmake: what a release build adds to the usual one, so that the
# same source gives the same bytes wherever it is checked out and built, and
# the downloads carry nothing a player does not run. The release presets name
# it as CMAKE_PROJECT_INCLUDE, so a packager's or a developer's build is left
# as it is. Times come from SOURCE_DATE_EPOCH, which scripts/release sets and
# the linker, dpkg-deb and the zips read.
#
# No path of the checkout or the build folder in any program: both are written
# as relative paths, the build folder's map given last, as it may lie inside
# the checkout and the compilers try the last map first.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
# The MinGW runtime linked into yopo.exe brings its own debugging sections,
# two thirds of the file, with the paths it was built at.
if(WIN32)
    add_link_options(-s)
endif()
