# The Windows packages: a ZIP to unpack anywhere; an installer made with NSIS that installs for
# every user of the machine, puts the dialog and the user's guide into the Start menu, offers to
# put ambersel-eval.exe on PATH and brings an uninstaller; and an MSI (make_msi.py) with the same
# files and entries, for deployment by msiexec and Group Policy. All three hold
# bin\Ambersel_Test.exe, bin\ambersel-eval.exe, the user's guide, LICENSE.txt,
# THIRD-PARTY-NOTICES.txt and the example lists.
#
# cpack takes the commit's date for SOURCE_DATE_EPOCH (source_date.cmake) and gives it and fixed
# permissions to the staged files (settle_staged_files.cmake): the same commit gives the same
# packages.

# Text files as Windows editors expect them: with CR LF.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt @ONLY
    NEWLINE_STYLE CRLF)
install(FILES ${AMBERSEL_GUIDE} ${AMBERSEL_NOTICES} ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
    DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples DESTINATION . FILES_MATCHING PATTERN "*.ASC")

add_subdirectory(path_entry)

set(CPACK_GENERATOR ZIP NSIS External)
# Every value reaches the packagers as written here (a backslash is "\\", NSIS's ${...} is "\${...}").
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Ambersel Test Calculator")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Ambersel Test Calculator")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/source_date.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/settle_staged_files.cmake)
set(CPACK_AMBERSEL_SOURCE_TREE ${PROJECT_SOURCE_DIR})

# The Start-menu entries: bin/Ambersel_Test.exe under the program's full name, and the guide.
set(CPACK_PACKAGE_EXECUTABLES Ambersel_Test "Ambersel Test Calculator")
set(CPACK_NSIS_MENU_LINKS "user-guide.html" "User's guide")

set(CPACK_NSIS_PACKAGE_NAME "Ambersel Test Calculator")
set(CPACK_NSIS_DISPLAY_NAME "Ambersel Test Calculator ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\Ambersel_Test.exe")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/win32/ui/ambersel_test.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/win32/ui/ambersel_test.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

# PATH: the options page (nsis/NSIS.InstallOptions.ini.in: every user, this user only, or not at
# all; every user unless changed, /NOPATH on the command line for none) decides, and
# path-entry.exe, which the installer and the uninstaller carry and run from their temporary
# folder, makes the change. The template's own PATH code is told to stand aside: it works on
# PATH in strings of at most 1024 characters, so that a longer PATH is left without the entry,
# and, where the machine's raw PATH is longer than the expanded one it checks, replaced by it.
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR}/nsis)
set(path_entry "${CMAKE_CURRENT_BINARY_DIR}/path_entry/path-entry.exe")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  \${GetParameters} $R0
  ClearErrors
  \${GetOptions} $R0 '/NOPATH' $R1
  IfErrors +3 0
    StrCpy $ADD_TO_PATH_ALL_USERS 0
    StrCpy $ADD_TO_PATH_CURRENT_USER 0
  InitPluginsDir
  File '/oname=$PLUGINSDIR\\path-entry.exe' '${path_entry}'
  StrCmp $ADD_TO_PATH_ALL_USERS 1 0 +3
    nsExec::ExecToLog '\"$PLUGINSDIR\\path-entry.exe\" add machine \"$INSTDIR\\bin\"'
    Pop $R1
  StrCmp $ADD_TO_PATH_CURRENT_USER 1 0 +3
    nsExec::ExecToLog '\"$PLUGINSDIR\\path-entry.exe\" add user \"$INSTDIR\\bin\"'
    Pop $R1
  StrCpy $DO_NOT_ADD_TO_PATH 1")
# The installer notes its folder and Start-menu folder under the vendor's key. The uninstaller
# would remove that entry only after these commands and leave the vendor's key behind, empty, so
# both go here; the Start-menu folder is then found under its default name. The PATH entry goes
# from wherever it was put.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "DeleteRegKey SHCTX 'Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}'
  DeleteRegKey /ifempty SHCTX 'Software\\${CPACK_PACKAGE_VENDOR}'
  InitPluginsDir
  File '/oname=$PLUGINSDIR\\path-entry.exe' '${path_entry}'
  nsExec::ExecToLog '\"$PLUGINSDIR\\path-entry.exe\" remove machine \"$INSTDIR\\bin\"'
  Pop $R1
  nsExec::ExecToLog '\"$PLUGINSDIR\\path-entry.exe\" remove user \"$INSTDIR\\bin\"'
  Pop $R1")
# The programs are 64-bit, and so is the installer: Debian's NSIS makes a 32-bit one unless told,
# and a 64-bit Windows without its 32-bit layer (or a 64-bit Wine) could not start that. The
# installer keeps no file dates: cpack writes its options page afresh each time, and its date
# would make every installer different.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
SetDateSave off
!include FileFunc.nsh")

# The MSI, made by cpack's External generator from the same staged files.
find_program(AMBERSEL_DEBIAN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH
    DOC "Debian's own Python, which has the MSI library's bindings (gir1.2-libmsi-1.0)")
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/msi_package.cmake)
set(CPACK_AMBERSEL_PYTHON ${AMBERSEL_DEBIAN_PYTHON})
set(CPACK_AMBERSEL_MAKE_MSI ${CMAKE_CURRENT_SOURCE_DIR}/make_msi.py)
