# Desktop integration: the menu entry and its icon.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/ambrelux.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/ambrelux.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
