# The launcher finds RunApplication in App by its plain C name.
execute_process(COMMAND nm -D --defined-only "${APP_LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${APP_LIBRARY}")
endif()
if(NOT symbols MATCHES "[ \n]T RunApplication\n")
    message(FATAL_ERROR "App does not export RunApplication with C linkage")
endif()

# Nothing else of ours: only instances of standard-library templates (which
# the C++ library's headers give default visibility), Qt's inline members and
# the linker's marks. No class of ours starts with Q.
string(REPLACE "\n" ";" lines "${symbols}")
set(foreign)
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[0-9a-f]+ [A-Za-z] (.+)$")
        continue()
    endif()
    set(name "${CMAKE_MATCH_1}")
    if(name STREQUAL "RunApplication" OR name MATCHES "^(_init|_fini|__bss_start|_edata|_end)$"
       OR name MATCHES "^_Z[ZNK]*St" OR name MATCHES "^_ZT[ISV]St"
       # Inline members of Qt's classes, which a debug build emits out of line
       # with their class's visibility: Qt's, not ours.
       OR name MATCHES "^_ZN[K]?[0-9]+Q" OR name MATCHES "^_ZT[ISV][0-9]+Q")
        continue()
    endif()
    list(APPEND foreign "${name}")
endforeach()
if(foreign)
    message(FATAL_ERROR "App exports more than RunApplication: ${foreign}")
endif()
