# Static libraries that a shared module links as well as the programs: compiled as position-
# independent code, without letting other libraries interpose on their functions (which would
# keep the compiler from inlining them), so that the programs' code stays as fast.
function(folivane_shareable target)
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_compile_options(${target} PRIVATE -fno-semantic-interposition)
endfunction()
