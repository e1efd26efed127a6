# The Windows programs under Wine, found in the Windows build named by
# YOPO_WINDOWS_BUILD (scripts/test builds it with the windows preset): whole
# games give the Linux runner's transcripts, and yopo.exe's window shows what
# the Linux window shows. Label: wine.
set(YOPO_WINDOWS_BUILD "" CACHE PATH "The Windows build (build-windows) whose programs run under Wine")
if(NOT YOPO_WINDOWS_BUILD)
    return()
endif()
find_program(YOPO_WINE wine REQUIRED)
set(yopo_wine_dir ${CMAKE_CURRENT_SOURCE_DIR}/wine)
# The windows are found by their title, ヨポ, which xdotool matches only in a
# UTF-8 locale; a fresh machine's account may have none set.
set(yopo_wine_env "LC_ALL=C.UTF-8" "WINEPREFIX=${PROJECT_BINARY_DIR}/wine-prefix" "WINEDEBUG=-all"
                  "YOPO_WINDOWS_BUILD=${YOPO_WINDOWS_BUILD}")

add_test(NAME wine_prefix COMMAND ${yopo_wine_dir}/prefix.sh)
# Nothing of Wine outlives the run; a server that has already gone is fine.
add_test(NAME wine_prefix_done COMMAND sh -c "wineserver -k 2>/dev/null; exit 0")
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_prefix_done PROPERTIES FIXTURES_CLEANUP wine)

foreach(game flood scald good-bath bad-bath)
    add_test(NAME wine_headless_${game}
             COMMAND ${yopo_wine_dir}/headless.sh ${CMAKE_CURRENT_SOURCE_DIR}/golden/${game}.script
                     ${CMAKE_CURRENT_SOURCE_DIR}/golden/${game}.expected)
    set_tests_properties(wine_headless_${game} PROPERTIES FIXTURES_REQUIRED wine)
endforeach()

# The command-line table: yopo.exe's message boxes, and yopo-headless.exe's
# output and status beside the Linux runner's for the same arguments and
# scripts (a Ctrl-Z line, the bidirectional controls).
add_test(NAME wine_command_line
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_wine_dir}/command_line.sh
                 $<TARGET_FILE:yopo-headless>)
set_tests_properties(wine_command_line PROPERTIES FIXTURES_REQUIRED wine LABELS wine
                     ENVIRONMENT "${yopo_wine_env}")

add_test(NAME wine_window
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_wine_dir}/window.sh
                 $<TARGET_FILE:yopo> ${YOPO_WINDOWS_BUILD}/app/win32/yopo.exe
                 ${PROJECT_BINARY_DIR}/wine-screenshots)
set_tests_properties(wine_window PROPERTIES FIXTURES_REQUIRED wine)

# A Windows screen reader's view of yopo.exe, from the Windows build's probe:
# the accessible tree as a game changes it, and each new message heard from
# the message's live region. At 96 dpi, so it takes turns with the DPI tests.
add_test(NAME wine_screen_reader
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_wine_dir}/screen_reader.sh
                 ${YOPO_WINDOWS_BUILD}/tests/win32/yopo-screen-reader.exe
                 ${YOPO_WINDOWS_BUILD}/app/win32/yopo.exe)

# At 125, 150 and 200 %: Wine's screen DPI is the prefix's, so these take
# turns with the window test.
set(yopo_hidpi_tests "")
foreach(dpi 120 144 192)
    add_test(NAME wine_hidpi_${dpi}
             COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_wine_dir}/hidpi.sh ${dpi}
                     ${YOPO_WINDOWS_BUILD}/app/win32/yopo.exe ${PROJECT_BINARY_DIR}/wine-screenshots)
    list(APPEND yopo_hidpi_tests wine_hidpi_${dpi})
endforeach()
set_tests_properties(wine_window wine_screen_reader ${yopo_hidpi_tests} PROPERTIES
    FIXTURES_REQUIRED wine RESOURCE_LOCK wine_dpi)

# yopo.exe killed mid-fill and started again: the bath goes on.
add_test(NAME wine_bath_killed
         COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" ${yopo_wine_dir}/bath.sh
                 ${YOPO_WINDOWS_BUILD}/app/win32/yopo.exe)
set_tests_properties(wine_bath_killed PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_dpi
                     TIMEOUT 120)

set_tests_properties(wine_prefix wine_prefix_done wine_bath_killed wine_window wine_screen_reader ${yopo_hidpi_tests}
    PROPERTIES LABELS wine ENVIRONMENT "${yopo_wine_env}")
set_tests_properties(wine_screen_reader PROPERTIES TIMEOUT 180)
foreach(game flood scald good-bath bad-bath)
    set_tests_properties(wine_headless_${game} PROPERTIES LABELS wine ENVIRONMENT "${yopo_wine_env}")
endforeach()
