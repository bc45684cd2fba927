# Windows: one folder holds everything (orl.exe, the DLLs and plug-ins it loads, Dat/, Qt's Russian
# translation, the licence). The target windows_packages installs it into package/ and packs it as
# orl-<version>-win64.zip (unpack anywhere and run orl.exe) and orl-<version>-setup.exe (NSIS).

install(TARGETS orl RUNTIME DESTINATION .)
install(FILES ${ORL_DATA_FILES} DESTINATION Dat)
install(FILES ${ORL_QT_RUSSIAN} DESTINATION translations)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The plug-ins Orl loads: the Windows platform, the Windows 10/11 style, and JPEG for the main
# window's picture (PNG is built into the toolkit).
set(ORL_WINDOWS_PLUGINS platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qjpeg.dll)
set(ORL_WINDOWS_PLUGIN_FILES)
foreach(plugin ${ORL_WINDOWS_PLUGINS})
  get_filename_component(folder ${plugin} DIRECTORY)
  install(FILES ${ORL_QT_PLUGIN_DIR}/${plugin} DESTINATION ${folder})
  list(APPEND ORL_WINDOWS_PLUGIN_FILES ${ORL_QT_PLUGIN_DIR}/${plugin})
endforeach()

# The DLLs the program and its plug-ins load: the toolkit's modules that Orl links, and the
# compiler's run-time, stripped of its debugging sections (libstdc++ shrinks from 23 MB to 2 MB).
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION .)
install(FILES ${ORL_MINGW_RUNTIME_DLLS} DESTINATION .)
foreach(dll ${ORL_MINGW_RUNTIME_DLLS})
  get_filename_component(name ${dll} NAME)
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${CMAKE_INSTALL_PREFIX}/${name}\"
                                COMMAND_ERROR_IS_FATAL ANY)")
endforeach()

set(ORL_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(ORL_STAGE ${ORL_PACKAGE_DIR}/${ORL_PACKAGE_NAME})
find_program(ORL_MAKENSIS makensis)
if(NOT ORL_MAKENSIS)
  message(WARNING "makensis is missing (nsis): windows_packages cannot make the installer")
  set(ORL_MAKENSIS makensis)
endif()
add_custom_target(windows_packages
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ORL_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${ORL_STAGE} --strip
  COMMAND ${CMAKE_COMMAND} -E chdir ${ORL_PACKAGE_DIR}
          ${CMAKE_COMMAND} -E tar cf ${CMAKE_BINARY_DIR}/${ORL_PACKAGE_NAME}.zip --format=zip ${ORL_PACKAGE_NAME}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${ORL_STAGE} -DFILES=${ORL_PACKAGE_DIR}/files.nsh
          -DREMOVALS=${ORL_PACKAGE_DIR}/removals.nsh -P ${CMAKE_SOURCE_DIR}/cmake/windows_installer_lists.cmake
  COMMAND ${ORL_MAKENSIS} -V2 -INPUTCHARSET UTF8
          -DVERSION=${PROJECT_VERSION} -DVERSION_QUAD=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0
          -DSTAGE=${ORL_STAGE} -DFILES=${ORL_PACKAGE_DIR}/files.nsh -DREMOVALS=${ORL_PACKAGE_DIR}/removals.nsh
          -DOUTFILE=${ORL_SETUP} -DICON=${ORL_WINDOWS_DIR}/orl.ico -DLICENSE=${CMAKE_SOURCE_DIR}/LICENSE
          ${ORL_WINDOWS_DIR}/orl.nsi
  DEPENDS orl orl_data
  BYPRODUCTS ${CMAKE_BINARY_DIR}/${ORL_PACKAGE_NAME}.zip ${ORL_SETUP}
  COMMENT "Packing ${ORL_PACKAGE_NAME}.zip and orl-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
