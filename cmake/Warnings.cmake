# One place for the warning flags of the project's own targets.
# Third-party headers come in as system headers, so these apply to our code only.
function(folivane_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports false -Wrestrict overlaps inside std::string concatenation at -O3.
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(FOLIVANE_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
