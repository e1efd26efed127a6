# The web page in Debian's Chromium, found in the web build named by
# YOPO_WEB_BUILD (scripts/test builds it with the web preset): the golden games
# replayed by the game in WebAssembly, the page's pixels at every ratio, on a
# phone held either way and in forced colours, its flashes and its tab in a
# catastrophe, its ticks in a frozen or hidden tab, the bath kept across a
# reload, a discard and a day away, the keyboard, the focus and the
# accessibility tree, installing and playing offline, its server's odd
# addresses, and what it does when a file cannot be fetched. Label: web.
# Screenshots go to YOPO_WEB_BUILD/screenshots.
set(YOPO_WEB_BUILD "" CACHE PATH "The web build (build-web) whose site the web tests play")
if(NOT YOPO_WEB_BUILD)
    return()
endif()
find_program(YOPO_NODE node REQUIRED)
find_program(YOPO_CHROMIUM chromium REQUIRED)
set(yopo_web_dir ${CMAKE_CURRENT_SOURCE_DIR}/web)
set(yopo_web_env "YOPO_WEB_SITE=${YOPO_WEB_BUILD}/site"
                 "YOPO_WEB_SCREENSHOTS=${YOPO_WEB_BUILD}/screenshots"
                 "YOPO_CHROMIUM=${YOPO_CHROMIUM}" "PUPPETEER_SKIP_DOWNLOAD=1")

# puppeteer-core, as the lock file pins it.
add_test(NAME web_modules COMMAND ${yopo_web_dir}/modules.sh)
set_tests_properties(web_modules PROPERTIES FIXTURES_SETUP web_modules)

set(yopo_web_tests web_modules)
foreach(suite golden window time keep keyboard offline failure)
    add_test(NAME web_${suite} COMMAND ${YOPO_NODE} --test ${yopo_web_dir}/${suite}.test.mjs)
    set_tests_properties(web_${suite} PROPERTIES FIXTURES_REQUIRED web_modules)
    list(APPEND yopo_web_tests web_${suite})
endforeach()
set_tests_properties(${yopo_web_tests} PROPERTIES LABELS web TIMEOUT 300 ENVIRONMENT "${yopo_web_env}")
