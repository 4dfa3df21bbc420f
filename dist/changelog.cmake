# The intro's version, maintainer and date, read from the latest entry of
# dist/changelog: the one place the version is written. Included by the build
# (INTRO_VERSION for the package, the Windows program's version resource and
# the web page; INTRO_MAINTAINER; INTRO_EPOCH, the entry's date in seconds
# since 1970, which stands for every build time), and run by the shell
# scripts, to which it prints the version and the date:
#
#    cmake -P dist/changelog.cmake        prints "VERSION EPOCH"
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog heading REGEX "^vintara-intro \\(" LIMIT_COUNT 1)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^vintara-intro \\(([^)]+)\\).*" "\\1" INTRO_VERSION "${heading}")
string(REGEX REPLACE "^ -- ([^>]+>).*" "\\1" INTRO_MAINTAINER "${trailer}")
string(REGEX REPLACE ".*>  (.*)$" "\\1" date "${trailer}")
execute_process(COMMAND date -d "${date}" +%s OUTPUT_VARIABLE INTRO_EPOCH
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${INTRO_VERSION} ${INTRO_EPOCH}")
endif()
