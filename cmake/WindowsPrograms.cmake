# The Windows programs, each one self-contained exe (static Qt and runtime) importing only
# system DLLs: orvane.exe, the window, without a console; orvane.com beside it, the command
# line for a console (which runs .com before .exe for "orvane"); orvane-virtual-printer.exe.
# Each carries Orvane's icon and a version resource; a Release build is stripped.

add_executable(orvane_console ${PROJECT_SOURCE_DIR}/src/app/ConsoleMain_win.cpp)
target_link_libraries(orvane_console PRIVATE orvane_cli)
# A console program needs no platform plugin nor style; it reads pictures.
qt_import_plugins(orvane_console EXCLUDE_BY_TYPE platforms styles)
set_target_properties(orvane_console PROPERTIES OUTPUT_NAME orvane SUFFIX .com)
set_target_properties(orvane PROPERTIES WIN32_EXECUTABLE ON)

function(orvane_windows_program target file description)
    set(ORVANE_ICO ${PROJECT_SOURCE_DIR}/data/windows/orvane.ico)
    set(ORVANE_RC_NAME ${target})
    set(ORVANE_RC_FILE ${file})
    set(ORVANE_RC_DESCRIPTION ${description})
    set(rc ${PROJECT_BINARY_DIR}/windows/${file}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/data/windows/version.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ORVANE_ICO})
    target_sources(${target} PRIVATE ${rc})
    if(MINGW)
        target_link_options(${target} PRIVATE -static $<$<CONFIG:Release>:-s>)
    endif()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
endfunction()

orvane_windows_program(orvane orvane.exe "Orvane")
orvane_windows_program(orvane_console orvane.com "Orvane command line")
orvane_windows_program(orvane-virtual-printer orvane-virtual-printer.exe
    "Orvane virtual printer")
