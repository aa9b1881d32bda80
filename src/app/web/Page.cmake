# The show as a page (make web), built by emscripten: the same layers, less the files that
# need SDL or the system's GL, plus each layer's folder web/; our GL subset on WebGL 2.
# VELMORA_PAGE_DIR receives index.html, velmora.js, velmora.wasm and velmora.data, the
# latter holding VELMORA_DATAS (the native build's generated DATAS).
set(desktop_only gles/EsEgl.cpp platform/Display.cpp platform/Headless.cpp platform/Keys.cpp
    platform/Window.cpp engine/Music.cpp app/Entry.cpp app/Main.cpp)
list(TRANSFORM desktop_only PREPEND ${CMAKE_SOURCE_DIR}/src/)
set(sources)
foreach(layer gles platform glpp texture engine effects script app)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${layer}/*.cpp
        ${CMAKE_SOURCE_DIR}/src/${layer}/web/*.cpp)
    list(APPEND sources ${found})
endforeach()
list(REMOVE_ITEM sources ${desktop_only})

add_executable(velmora ${sources})
target_include_directories(velmora PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(velmora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_PAGE_DIR})
target_link_options(velmora PRIVATE -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sEXPORTED_RUNTIME_METHODS=ccall,FS
    --preload-file ${VELMORA_DATAS}@/DATAS)
set_property(TARGET velmora APPEND PROPERTY LINK_DEPENDS ${VELMORA_DATAS})
configure_file(${CMAKE_CURRENT_LIST_DIR}/index.html ${VELMORA_PAGE_DIR}/index.html COPYONLY)
