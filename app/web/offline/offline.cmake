# What makes the site installable and playable offline: the manifest, the two
# icons it names, offline.js, and sw.js stamped with the site's version and the
# list of its files. The web build calls yopo_web_offline() once, naming the
# targets that write the rest of the site, so that the worker is stamped last.
#
#   yopo_web_offline(SITE <site dir> AFTER <targets that write into it>...)

set(YOPO_WEB_OFFLINE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(yopo_web_offline)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "SITE" "AFTER")
    set(here ${YOPO_WEB_OFFLINE_DIR})
    set(assets ${here}/../../../assets)
    # Runs at every build: stamping reads the whole site, which is small, and
    # rewrites sw.js only when the version changes.
    add_custom_target(yopo-web-offline ALL
        COMMAND ${CMAKE_COMMAND} -E make_directory ${arg_SITE}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${here}/manifest.webmanifest ${here}/offline.js
            ${assets}/yopo-192.png ${assets}/yopo-512.png
            ${arg_SITE}
        COMMAND ${CMAKE_COMMAND} -DSITE=${arg_SITE} -DTEMPLATE=${here}/sw.js.in
            -P ${here}/stamp_worker.cmake
        COMMENT "Stamping the service worker with the site's version"
        VERBATIM)
    if(arg_AFTER)
        add_dependencies(yopo-web-offline ${arg_AFTER})
    endif()
endfunction()
