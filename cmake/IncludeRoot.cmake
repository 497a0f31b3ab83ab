# Libraries are included by qualified names ("engine/text/SourceText.h", "zip/ZipWriter.h").
# Each library gets an include root of its own under the build folder, in which that name
# leads to its folder and to nothing else; a target sees the roots of the libraries it links
# and no others, so that an include of a layer it may not use does not compile.
function(folivane_include_root target name)
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    set(link ${root}/${name})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${link})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${link} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
