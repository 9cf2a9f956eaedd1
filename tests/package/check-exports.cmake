# The launcher finds RunApplication in App by its plain C name.
execute_process(COMMAND nm -D --defined-only "${APP_LIBRARY}" OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${APP_LIBRARY}")
endif()
if(NOT symbols MATCHES "[ \n]T RunApplication\n")
    message(FATAL_ERROR "App does not export RunApplication with C linkage")
endif()
