# The Windows packages: a ZIP to unpack anywhere, and an installer made with NSIS that installs for
# every user of the machine, puts the dialog into the Start menu and brings an uninstaller.
# Both hold bin/Ambersel_Test.exe, bin/ambersel-eval.exe, the README and the example lists.

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples DESTINATION . FILES_MATCHING PATTERN "*.ASC")

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Ambersel Test Calculator")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Ambersel Test Calculator")
# The Start-menu entry: bin/Ambersel_Test.exe under the program's full name.
set(CPACK_PACKAGE_EXECUTABLES Ambersel_Test "Ambersel Test Calculator")

set(CPACK_NSIS_PACKAGE_NAME "Ambersel Test Calculator")
set(CPACK_NSIS_DISPLAY_NAME "Ambersel Test Calculator ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\Ambersel_Test.exe")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/win32/ui/ambersel_test.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/win32/ui/ambersel_test.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# The installer notes its folder and Start-menu folder under the vendor's key. The uninstaller
# would remove that entry only after these commands and leave the vendor's key behind, empty, so
# both go here; the Start-menu folder is then found under its default name.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "DeleteRegKey SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}\\\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}'
  DeleteRegKey /ifempty SHCTX 'Software\\\\${CPACK_PACKAGE_VENDOR}'")
# The programs are 64-bit, and so is the installer: Debian's NSIS makes a 32-bit one unless told,
# and a 64-bit Windows without its 32-bit layer (or a 64-bit Wine) could not start that.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
