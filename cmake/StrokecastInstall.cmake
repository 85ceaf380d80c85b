# What `cmake --install` lays out and CPack zips: the library, the reference host and, on Windows, the
# programs a person runs (Strokecast Settings and Strokecast Resident) in bin/ (the .so in lib/ natively),
# the header in include/, import libraries and the CMake and pkg-config packages in lib/, the default
# gestures and the documents in share/strokecast/.
include(CMakePackageConfigHelpers)

install(TARGETS strokecast EXPORT StrokecastTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Runtime
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/strokecast.h ${PROJECT_SOURCE_DIR}/include/strokecast_exports.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS strokecast-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET strokecast-settings)
    install(TARGETS strokecast-settings RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET strokecast-resident)
    install(TARGETS strokecast-resident RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(WIN32)
    get_property(msvc_import_library GLOBAL PROPERTY STROKECAST_MSVC_IMPORT_LIBRARY)
    if(msvc_import_library)
        install(FILES ${msvc_import_library} DESTINATION ${CMAKE_INSTALL_LIBDIR})
    endif()
    install(FILES ${PROJECT_BINARY_DIR}/strokecast.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

set(data_dir ${CMAKE_INSTALL_DATADIR}/strokecast)
install(FILES ${PROJECT_SOURCE_DIR}/data/default_gestures.configure DESTINATION ${data_dir})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION ${data_dir})
file(GLOB doc_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
install(FILES ${doc_files} DESTINATION ${data_dir}/docs)

# find_package(Strokecast) gives Strokecast::strokecast.
set(cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Strokecast)
install(EXPORT StrokecastTargets NAMESPACE Strokecast:: DESTINATION ${cmake_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/StrokecastConfig.cmake.in
    ${PROJECT_BINARY_DIR}/StrokecastConfig.cmake INSTALL_DESTINATION ${cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/StrokecastConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/StrokecastConfig.cmake ${PROJECT_BINARY_DIR}/StrokecastConfigVersion.cmake
    DESTINATION ${cmake_dir})

if(NOT WIN32)
    # Relative to the file itself, so the installed tree may move.
    file(RELATIVE_PATH STROKECAST_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
    configure_file(${PROJECT_SOURCE_DIR}/cmake/strokecast.pc.in ${PROJECT_BINARY_DIR}/strokecast.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/strokecast.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

# A parent project that adds this one keeps its own packaging.
if(PROJECT_IS_TOP_LEVEL)
    set(CPACK_PACKAGE_NAME strokecast)
    set(CPACK_PACKAGE_VENDOR "the Strokecast developers")
    set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
    set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
    if(WIN32)
        set(CPACK_PACKAGE_FILE_NAME strokecast-${PROJECT_VERSION}-win64)
    else()
        set(CPACK_PACKAGE_FILE_NAME strokecast-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
    endif()
    set(CPACK_GENERATOR ZIP)
    # Symbols and debug information stay out of the archive.
    set(CPACK_STRIP_FILES ON)
    set(CPACK_VERBATIM_VARIABLES ON)
    include(CPack)
endif()
