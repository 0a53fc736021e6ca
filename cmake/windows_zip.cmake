# The Windows download, dist/quorvel-VERSION-win64.zip: the window (when ui/win32/ builds it),
# quorvel-cli.exe, the help page and a read-me, in one folder. `make windows` builds it.
set(QUORVEL_ZIP_NAME quorvel-${PROJECT_VERSION}-win64)
set(QUORVEL_ZIP_STAGE ${PROJECT_BINARY_DIR}/package/${QUORVEL_ZIP_NAME})
set(QUORVEL_ZIP ${PROJECT_SOURCE_DIR}/dist/${QUORVEL_ZIP_NAME}.zip)

# Notepad shows the read-me best with Windows line ends.
configure_file(${PROJECT_SOURCE_DIR}/resources/README-windows.txt.in
               ${PROJECT_BINARY_DIR}/package/README.txt @ONLY NEWLINE_STYLE WIN32)

set(QUORVEL_ZIP_PROGRAMS quorvel-cli)
if(TARGET quorvel)
    list(PREPEND QUORVEL_ZIP_PROGRAMS quorvel)
endif()
list(TRANSFORM QUORVEL_ZIP_PROGRAMS REPLACE "(.+)" "$<TARGET_FILE:\\1>" OUTPUT_VARIABLE files)

add_custom_target(windows_zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUORVEL_ZIP_STAGE} ${QUORVEL_ZIP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUORVEL_ZIP_STAGE} ${PROJECT_SOURCE_DIR}/dist
    COMMAND ${CMAKE_COMMAND} -E copy ${files} ${PROJECT_SOURCE_DIR}/resources/help.html
            ${PROJECT_BINARY_DIR}/package/README.txt ${QUORVEL_ZIP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${QUORVEL_ZIP} --format=zip ${QUORVEL_ZIP_NAME}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/package
    DEPENDS ${QUORVEL_ZIP_PROGRAMS}
    COMMENT "Packing dist/${QUORVEL_ZIP_NAME}.zip"
    VERBATIM)
