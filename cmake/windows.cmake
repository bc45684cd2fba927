# The Windows build, made on Linux with MinGW-w64 and the toolchain's qt-cmake (scripts/windows):
# orl.exe's icon, version information and manifest; what the program and the tests load beside
# them in the build folder; and ctest running the tests under Wine's 64-bit loader.

enable_language(RC)
set(ORL_WINDOWS_DIR ${CMAKE_SOURCE_DIR}/data/windows)
configure_file(${ORL_WINDOWS_DIR}/orl.rc.in ${CMAKE_BINARY_DIR}/orl.rc @ONLY)
target_sources(orl PRIVATE ${CMAKE_BINARY_DIR}/orl.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/orl.rc PROPERTIES
  OBJECT_DEPENDS "${ORL_WINDOWS_DIR}/orl.ico;${ORL_WINDOWS_DIR}/orl.exe.manifest")
# The packages that windows_packages makes (cmake/windows_packages.cmake).
set(ORL_PACKAGE_NAME orl-${PROJECT_VERSION}-win64)
set(ORL_SETUP ${CMAKE_BINARY_DIR}/orl-${PROJECT_VERSION}-setup.exe)

# A window program: started from Explorer it opens no console window.
set_target_properties(orl PROPERTIES WIN32_EXECUTABLE TRUE)

# Qt's Russian translation of its own dialogs is one file for every platform: Debian's.
find_file(ORL_QT_RUSSIAN qtbase_ru.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ORL_QT_RUSSIAN)
  message(FATAL_ERROR "qtbase_ru.qm is missing: install qt6-translations-l10n")
endif()

# The Qt DLLs and plug-ins of the toolchain, and the compiler's run-time DLLs.
set(ORL_QT_BIN_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
set(ORL_QT_PLUGIN_DIR ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
set(ORL_MINGW_RUNTIME_DLLS)
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
  endif()
  list(APPEND ORL_MINGW_RUNTIME_DLLS ${found})
endforeach()
set(ORL_RUNTIME_DLL_DIRS ${ORL_QT_BIN_DIR})
foreach(dll ${ORL_MINGW_RUNTIME_DLLS})
  get_filename_component(dir ${dll} DIRECTORY)
  list(APPEND ORL_RUNTIME_DLL_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES ORL_RUNTIME_DLL_DIRS)

# Orl loads Qt's translation from translations/ beside the program, in the build folder as installed.
add_custom_target(orl_windows_translation ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/translations ${CMAKE_BINARY_DIR}/tests/translations
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ORL_QT_RUSSIAN} ${CMAKE_BINARY_DIR}/translations/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${ORL_QT_RUSSIAN} ${CMAKE_BINARY_DIR}/tests/translations/
  DEPENDS ${ORL_QT_RUSSIAN})
add_dependencies(orl_ui orl_windows_translation)

# The offscreen platform of the Windows toolkit reads fonts from one folder of TrueType files: the
# faces that the Linux tests see, standing in for Windows' own.
set(ORL_WINE_FONTS ${CMAKE_BINARY_DIR}/wine-fonts)
file(MAKE_DIRECTORY ${ORL_WINE_FONTS})
foreach(face dejavu/DejaVuSans dejavu/DejaVuSans-Bold dejavu/DejaVuSansMono dejavu/DejaVuSansMono-Bold
             liberation2/LiberationSans-Regular liberation2/LiberationSans-Bold liberation2/LiberationSans-Italic
             liberation2/LiberationSans-BoldItalic liberation2/LiberationMono-Regular liberation2/LiberationMono-Bold)
  set(font /usr/share/fonts/truetype/${face}.ttf)
  get_filename_component(name ${font} NAME)
  if(EXISTS ${font})
    file(CREATE_LINK ${font} ${ORL_WINE_FONTS}/${name} SYMBOLIC)
  else()
    message(WARNING "${font} is missing (fonts-dejavu-core, fonts-liberation2): the tests under Wine draw without it")
  endif()
endforeach()

# ctest runs every test program through Wine, with the DLLs and plug-ins found where they are.
list(JOIN ORL_RUNTIME_DLL_DIRS ":" ORL_WINE_DLL_PATH)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env
  ORL_WINE_PREFIX=${CMAKE_BINARY_DIR}/wine-prefix
  ORL_WINE_DLL_DIRS=${ORL_WINE_DLL_PATH}
  ORL_QT_PLUGINS=${ORL_QT_PLUGIN_DIR}
  ORL_WINE_FONTS=${ORL_WINE_FONTS}
  ${CMAKE_SOURCE_DIR}/tests/windows/wine_run.sh)
