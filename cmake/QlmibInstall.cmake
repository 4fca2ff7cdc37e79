# Installs the layer libraries and their headers so that a host can use
# find_package(QLMIBTree) and link qlmib::<layer>.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

get_property(layers GLOBAL PROPERTY QLMIB_LAYERS)
foreach(target IN LISTS layers)
  get_target_property(headers ${target} QLMIB_PUBLIC_HEADERS)
  get_target_property(dir ${target} QLMIB_HEADER_DIR)
  install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qlmib/${dir})
endforeach()
install(TARGETS ${layers} EXPORT QLMIBTreeTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT QLMIBTreeTargets NAMESPACE qlmib:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QLMIBTree)
configure_package_config_file(cmake/QLMIBTreeConfig.cmake.in
  ${CMAKE_BINARY_DIR}/QLMIBTreeConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QLMIBTree)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QLMIBTreeConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QLMIBTreeConfig.cmake ${CMAKE_BINARY_DIR}/QLMIBTreeConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QLMIBTree)
