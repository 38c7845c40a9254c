# Each library exposes only its own headers: a folder in the build tree holds
# one link, named as the library's source folder, to that folder. A target sees
# "model/plan.h" only when it links the model library, so a lower layer that
# includes a higher one fails to build.
function(kelvane_own_headers target folder)
    set(root ${CMAKE_BINARY_DIR}/headers/${folder})
    if(NOT EXISTS ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder}
             SYMBOLIC COPY_ON_ERROR)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
