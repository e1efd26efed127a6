# cmake -DSITE=<site dir> -DTEMPLATE=<sw.js.in> -P stamp_worker.cmake
# Writes SITE/sw.js: the worker, with every other file of the site to keep and
# a version that changes whenever any of them does. A browser sees a new sw.js
# as a new version of the game.

file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
# Only an install dialog shows the pictures of the page, and only online.
list(FILTER files EXCLUDE REGEX "^screenshot-")
list(SORT files)
set(sums "")
set(YOPO_SITE_FILES "'./'")
foreach(name IN LISTS files)
    file(SHA256 ${SITE}/${name} sum)
    string(APPEND sums "${name} ${sum}\n")
    string(APPEND YOPO_SITE_FILES ", '${name}'")
endforeach()
string(SHA256 version "${sums}")
string(SUBSTRING ${version} 0 16 YOPO_SITE_VERSION)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
