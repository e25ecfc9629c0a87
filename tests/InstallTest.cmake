# Installs the build into a scratch prefix and checks that both programs come
# with a desktop entry, an icon that the entry names, and AppStream metadata
# that appstreamcli finds valid and whose launchable is that entry.
set(prefix "${BUILD_DIR}/install-test")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(program velmora kestrin)
    foreach(file bin/${program} share/applications/${program}.desktop
                 share/icons/hicolor/scalable/apps/${program}.svg
                 share/metainfo/org.velmorakestrin.${program}.metainfo.xml)
        if(NOT EXISTS "${prefix}/${file}")
            message(FATAL_ERROR "missing after install: ${file}")
        endif()
    endforeach()
    file(STRINGS "${prefix}/share/applications/${program}.desktop" entry)
    foreach(line "Exec=${program}" "Icon=${program}" "Type=Application")
        list(FIND entry "${line}" found)
        if(found EQUAL -1)
            message(FATAL_ERROR "${program}.desktop lacks ${line}")
        endif()
    endforeach()
endforeach()
find_program(appstreamcli appstreamcli)
if(NOT appstreamcli)
    message(FATAL_ERROR "appstreamcli is missing; ./dev installs it (Debian package appstream)")
endif()
execute_process(COMMAND "${appstreamcli}" validate-tree --no-net --pedantic "${prefix}"
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE report)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "AppStream metadata invalid:\n${report}")
endif()
file(REMOVE_RECURSE "${prefix}")
