# Read by ctest as it starts (see folivane_python_suite): one test per group of a Python
# suite, as the suite lists them now. Set before: suite_name, suite_command (the suite's
# command line, a list), suite_timeout, suite_environment.
execute_process(COMMAND ${suite_command} --groups
    OUTPUT_VARIABLE suite_groups ERROR_VARIABLE suite_listing_error
    RESULT_VARIABLE suite_listed TIMEOUT 120)
if(NOT suite_listed EQUAL 0)
    # A suite that cannot say its groups runs whole, and its run says why.
    set(suite_groups "")
    add_test(${suite_name} ${suite_command})
    set_tests_properties(${suite_name} PROPERTIES TIMEOUT ${suite_timeout}
        ENVIRONMENT "${suite_environment}")
endif()
string(REPLACE "\n" ";" suite_groups "${suite_groups}")
foreach(suite_group IN LISTS suite_groups)
    if(suite_group MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
        add_test(${suite_name}.${suite_group} ${suite_command} ${suite_group})
        set_tests_properties(${suite_name}.${suite_group} PROPERTIES TIMEOUT ${suite_timeout}
            ENVIRONMENT "${suite_environment}")
    endif()
endforeach()
