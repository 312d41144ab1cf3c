# The last step of the browser build, run by cmake/web.cmake once every file of the page
# is in place:
#
#     cmake -DWEB_DIR=build-web/web -DTEMPLATE=package/web/sw.js -P tools/web/stamp.cmake
#
# writes WEB_DIR/sw.js from TEMPLATE with the list of the page's files and a version
# stamp (the start of a SHA-256 over their names and contents, so that any changed file
# makes a new version and an unchanged build the same one), then lays beside each file
# that compresses (text and WebAssembly; the sounds and pictures are compressed already)
# its gzip and brotli forms, FILE.gz and FILE.br, for a server to send as they are.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${WEB_DIR} ${WEB_DIR}/*)
list(FILTER files EXCLUDE REGEX "(^sw\\.js|\\.gz|\\.br)$")
list(SORT files)

set(contents "")
set(listed "\"./\"")
foreach(file ${files})
  file(SHA256 ${WEB_DIR}/${file} hash)
  string(APPEND contents "${file} ${hash}\n")
  string(APPEND listed ", \"${file}\"")
endforeach()
string(SHA256 WEB_VERSION "${contents}")
string(SUBSTRING ${WEB_VERSION} 0 16 WEB_VERSION)
set(WEB_FILES "${listed}")
configure_file(${TEMPLATE} ${WEB_DIR}/sw.js @ONLY)

file(GLOB_RECURSE stale ${WEB_DIR}/*.gz ${WEB_DIR}/*.br)
if(stale)
  file(REMOVE ${stale})
endif()
foreach(file ${files} sw.js)
  if(file MATCHES "\\.(html|js|wasm|webmanifest)$" OR file STREQUAL "NOTICE")
    execute_process(COMMAND gzip -9 -n -k -f ${WEB_DIR}/${file} RESULT_VARIABLE failed)
    if(NOT failed)
      execute_process(COMMAND brotli -q 11 -k -f ${WEB_DIR}/${file} RESULT_VARIABLE failed)
    endif()
    if(failed)
      message(FATAL_ERROR "cannot compress ${file}")
    endif()
  endif()
endforeach()
message(STATUS "The page's version: ${WEB_VERSION}")
