# The downloads scripts/release makes, as the Windows and web builds named by
# YOPO_WINDOWS_BUILD and YOPO_WEB_BUILD make them into their dist/: the
# installer under Wine as a player runs it, the zips' listings, the portable
# game from its unpacked folder, and yopo.exe and its downloads built twice,
# in two build folders, alike to the byte. Label: release (and wine where
# Wine runs). scripts/check-release compares whole releases of two clones.
set(yopo_release_dir ${CMAKE_CURRENT_SOURCE_DIR}/release)
set(yopo_stem yopo-${PROJECT_VERSION})

if(YOPO_WEB_BUILD)
    add_test(NAME release_web_zip
             COMMAND ${yopo_release_dir}/listing.sh ${YOPO_WEB_BUILD}/dist/${yopo_stem}-web.zip
                     ${yopo_release_dir}/web-zip.txt ${PROJECT_VERSION})
    set_tests_properties(release_web_zip PROPERTIES LABELS release)
endif()

if(NOT YOPO_WINDOWS_BUILD)
    return()
endif()
set(yopo_windows_dist ${YOPO_WINDOWS_BUILD}/dist)
add_test(NAME release_windows_zip
         COMMAND ${yopo_release_dir}/listing.sh ${yopo_windows_dist}/${yopo_stem}-windows.zip
                 ${yopo_release_dir}/windows-zip.txt ${PROJECT_VERSION})

# A prefix of its own, emptied first: what the installer leaves is all there is.
add_test(NAME release_installer
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_release_dir}/installer.sh
                 ${yopo_windows_dist}/${yopo_stem}-setup.exe ${PROJECT_VERSION} ${YOPO_APP_ID})
set_tests_properties(release_installer PROPERTIES
    LABELS "release;wine" TIMEOUT 180
    ENVIRONMENT "LC_ALL=C.UTF-8;WINEDEBUG=-all;WINEPREFIX=${PROJECT_BINARY_DIR}/release-wine-prefix")

add_test(NAME release_portable
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_release_dir}/portable.sh
                 ${yopo_windows_dist}/${yopo_stem}-windows.zip)
set_tests_properties(release_portable PROPERTIES
    LABELS "release;wine" FIXTURES_REQUIRED wine ENVIRONMENT "${yopo_wine_env}")

add_test(NAME release_reproducible
         COMMAND ${yopo_release_dir}/reproducible.sh ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/release-twice)
set_tests_properties(release_windows_zip release_reproducible PROPERTIES LABELS release)
set_tests_properties(release_reproducible PROPERTIES TIMEOUT 1200)
