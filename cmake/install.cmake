# Where `cmake --install` puts things, and the Debian packages CPack builds from them:
#   qbk-server   the server program and its systemd unit
#   qbk-desktop  the desktop host, the client runtime, the bank module, report definitions
# The host looks for the modules in ../lib/qbk beside itself, and both it and the module
# find the runtime there through their RPATH.
include(GNUInstallDirs)
set(QBK_INSTALL_PRIVATE_LIBDIR lib/qbk)

# The report definitions the host opens (its report_dir): whatever reports/ holds once it
# exists; until then the empty directory, so that a configuration can already name it.
function(qbk_install_report_definitions)
  set(dest ${CMAKE_INSTALL_DATADIR}/qbk/reports)
  if(EXISTS ${PROJECT_SOURCE_DIR}/reports)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/reports/ DESTINATION ${dest} COMPONENT desktop
      PATTERN CMakeLists.txt EXCLUDE)
  else()
    install(DIRECTORY DESTINATION ${dest} COMPONENT desktop)
  endif()
endfunction()

if(TARGET qbk-server)
  install(TARGETS qbk-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT server)
  # The unit names the program by its installed path, which is known only when installing
  # (--prefix, or /usr when CPack stages a package).
  install(CODE "
    set(QBK_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(QBK_DOCDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DOCDIR}\")
    configure_file(${PROJECT_SOURCE_DIR}/packaging/qbk-server.service.in
      ${PROJECT_BINARY_DIR}/packaging/qbk-server.service @ONLY)" COMPONENT server)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/qbk-server.service
    DESTINATION lib/systemd/system COMPONENT server)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/qbk-server.default
    ${PROJECT_SOURCE_DIR}/docs/operations.md ${PROJECT_SOURCE_DIR}/docs/protocol.md
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT server)
endif()

if(TARGET qbk-host)
  set_target_properties(qbk-host PROPERTIES INSTALL_RPATH "$ORIGIN/../${QBK_INSTALL_PRIVATE_LIBDIR}")
  set_target_properties(qbk_runtime PROPERTIES INSTALL_RPATH "$ORIGIN")
  install(TARGETS qbk-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
  install(TARGETS qbk_runtime LIBRARY DESTINATION ${QBK_INSTALL_PRIVATE_LIBDIR} COMPONENT desktop)
  if(TARGET qbk51200)
    set_target_properties(qbk51200 PROPERTIES INSTALL_RPATH "$ORIGIN")
    install(TARGETS qbk51200 LIBRARY DESTINATION ${QBK_INSTALL_PRIVATE_LIBDIR} COMPONENT desktop)
  endif()
  qbk_install_report_definitions()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qbk)
set(CPACK_PACKAGE_VENDOR "Qbk")
set(CPACK_PACKAGE_CONTACT "Equipe Qbk <suporte@qbk.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Manutenção de bancos: servidor de aplicação e cliente")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${PROJECT_BINARY_DIR}/lib)
set(CPACK_DEBIAN_SERVER_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SHLIBDEPS ON)
# Named as well, so that the database clients are there even where shlibdeps finds less.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "libpq5, libsqlite3-0")
set(CPACK_DEBIAN_SERVER_PACKAGE_NAME qbk-server)
set(CPACK_DEBIAN_SERVER_DESCRIPTION
  "Servidor de aplicação Qbk51200.rdmBanco (JSON-RPC sobre HTTP, SQLite ou PostgreSQL)")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME qbk-desktop)
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION
  "Cliente desktop Qbk com o módulo de manutenção de bancos")
set(CPACK_COMPONENTS_ALL server)
if(TARGET qbk-host)
  list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()
include(CPack)
