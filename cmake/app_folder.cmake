# The help file and the button images travel with the programs: the help
# window looks for Vimbrel.html beside them, the pages reach the images as ../Img/.
set(VIMBREL_HELP_FILE ${PROJECT_SOURCE_DIR}/app/help/Vimbrel.html)
set(_copy_commands
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VIMBREL_HELP_FILE} ${VIMBREL_APP_FOLDER}/Vimbrel.html)
if(EXISTS ${PROJECT_SOURCE_DIR}/Img)
  list(APPEND _copy_commands
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/Img ${VIMBREL_APP_FOLDER}/Img)
else()
  message(WARNING "Img/ is missing: the viewer's buttons will have no pictures")
endif()
add_custom_target(vimbrel_app_folder ALL
  ${_copy_commands}
  DEPENDS ${VIMBREL_HELP_FILE}
  COMMENT "Copying the help file and Img/ into the app folder")
