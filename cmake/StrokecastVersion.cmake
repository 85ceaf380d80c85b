# The project's version in the Windows binaries: a VERSIONINFO resource per shipped file, and the import
# library MSVC linkers read, made from the same .def list as the DLL.
set(STROKECAST_COPYRIGHT "Copyright (c) 2026 the Strokecast developers")

# Compiles a version resource (file and product version, description, copyright) into a DLL or exe.
function(strokecast_version_resource target description file_name)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
        set(STROKECAST_RC_FILE_TYPE VFT_DLL)
    else()
        set(STROKECAST_RC_FILE_TYPE VFT_APP)
    endif()
    set(STROKECAST_RC_DESCRIPTION ${description})
    set(STROKECAST_RC_FILE_NAME ${file_name})
    get_filename_component(STROKECAST_RC_INTERNAL_NAME ${file_name} NAME_WE)
    set(rc ${PROJECT_BINARY_DIR}/version/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()

# strokecast.lib for MSVC hosts, from the .def list: llvm-dlltool writes the short import format MSVC's
# own tools write; the MinGW dlltool's long format is the fallback.
function(strokecast_msvc_import_library target def_file lib_file)
    find_program(STROKECAST_DLLTOOL NAMES llvm-dlltool llvm-dlltool-16 llvm-dlltool-15 llvm-dlltool-14
        x86_64-w64-mingw32-dlltool)
    if(NOT STROKECAST_DLLTOOL)
        message(WARNING "no dlltool found: strokecast.lib for MSVC hosts is not made")
        return()
    endif()
    add_custom_command(OUTPUT ${lib_file}
        COMMAND ${STROKECAST_DLLTOOL} -m i386:x86-64 -d ${def_file} -D strokecast.dll -l ${lib_file}
        DEPENDS ${def_file} VERBATIM
        COMMENT "Making the MSVC import library strokecast.lib")
    add_custom_target(${target}_msvc_import_library ALL DEPENDS ${lib_file})
    set_property(GLOBAL PROPERTY STROKECAST_MSVC_IMPORT_LIBRARY ${lib_file})
endfunction()
