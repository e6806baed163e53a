# Lays out share/pictavo/{fonts,config} in the build tree (and the install):
# the icon fonts come from Debian's font packages, the configs from data/.

set(PICTAVO_FONT_FILES
    /usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf
    /usr/share/fonts/truetype/fork-awesome/forkawesome-webfont.ttf
    /usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf
    /usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf
    /usr/share/fonts/truetype/elusive-icons/elusiveicons-webfont.ttf
)
foreach(font IN LISTS PICTAVO_FONT_FILES)
    if(NOT EXISTS ${font})
        message(FATAL_ERROR "Icon font ${font} is missing: run the set-up command of README.md")
    endif()
endforeach()

# The LESS compiler from npm's less@1.4.1, compiled into the resources.
set(PICTAVO_LESS_JS ${CMAKE_SOURCE_DIR}/node_modules/less/dist/less-1.4.1.min.js)
if(NOT EXISTS ${PICTAVO_LESS_JS})
    message(FATAL_ERROR "${PICTAVO_LESS_JS} is missing: run the set-up command of README.md (npm ci)")
endif()

file(GLOB_RECURSE PICTAVO_CONFIG_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/config/*)
set(PICTAVO_DATA_STAMP ${CMAKE_BINARY_DIR}/share-pictavo.stamp)
add_custom_command(
    OUTPUT ${PICTAVO_DATA_STAMP}
    COMMAND ${CMAKE_COMMAND} -E remove_directory ${PICTAVO_SHARE_DIR}/config
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PICTAVO_SHARE_DIR}/fonts
            ${PICTAVO_SHARE_DIR}/config/icons ${PICTAVO_SHARE_DIR}/config/gradient
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/config ${PICTAVO_SHARE_DIR}/config
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PICTAVO_FONT_FILES} ${PICTAVO_SHARE_DIR}/fonts
    COMMAND ${CMAKE_COMMAND} -E touch ${PICTAVO_DATA_STAMP}
    DEPENDS ${PICTAVO_CONFIG_FILES} ${PICTAVO_FONT_FILES}
    COMMENT "Laying out share/pictavo"
    VERBATIM)
add_custom_target(pictavo_data ALL DEPENDS ${PICTAVO_DATA_STAMP})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/config DESTINATION share/pictavo)
install(FILES ${PICTAVO_FONT_FILES} DESTINATION share/pictavo/fonts)
