# Builds each probe target and compares the outcome with what the layers allow.
# -DBUILD=<build folder> -DCHECKS=<target:header:refused|allowed;...>
set(failures "")
foreach(check IN LISTS CHECKS)
    string(REPLACE ":" ";" parts ${check})
    list(GET parts 0 target)
    list(GET parts 1 header)
    list(GET parts 2 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${target}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(expected STREQUAL "refused")
        # Refused for the right reason: the header is not there to be found.
        string(FIND "${output}" "${header}: No such file or directory" notFound)
        if(result EQUAL 0 OR notFound EQUAL -1)
            string(APPEND failures "${target} could include ${header}:\n${output}\n")
        endif()
    elseif(NOT result EQUAL 0)
        string(APPEND failures "${target} could not include ${header}:\n${output}\n")
    endif()
endforeach()
if(failures)
    message(FATAL_ERROR "${failures}")
endif()
