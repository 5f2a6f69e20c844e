# Where `cmake --install` puts the program under its prefix.
#
# The program finds its helper tools in B/ beside its own executable file (as resolved by
# /proc/self/exe), so both front ends and B/ live together in a private folder, and the
# commands in bin/ are relative symlinks to them: the installed tree can be moved or
# unpacked under any root and still finds its tools. The artwork of the windows is
# compiled into the program; the desktop entry, the AppStream description and the
# hicolor icons go to their standard places under share/.
include(GNUInstallDirs)

set(TRANSCODA_INSTALL_PRIVATEDIR "lib/transcoda" CACHE STRING
    "Folder under the prefix for the executables and their helper tools")
set(private ${TRANSCODA_INSTALL_PRIVATEDIR})

install(TARGETS transcoda transcoda-cli RUNTIME DESTINATION ${private})

# The seven tools are one program that acts according to the name it is started under:
# install it once (so that a stripped install strips it), then give it each tool's name.
# Hard links where the file system allows them, copies otherwise.
get_directory_property(tool_names DIRECTORY ${CMAKE_SOURCE_DIR}/helpers DEFINITION TRANSCODA_HELPER_NAMES)
install(TARGETS transcoda_helper_tool RUNTIME DESTINATION ${private}/B)
install(CODE "
  set(tool_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${private}/B\")
  foreach(name ${tool_names})
    message(STATUS \"Installing: \${tool_dir}/\${name}\")
    file(REMOVE \"\${tool_dir}/\${name}\")
    file(CREATE_LINK \"\${tool_dir}/transcoda_helper_tool\" \"\${tool_dir}/\${name}\" COPY_ON_ERROR)
  endforeach()
  file(REMOVE \"\${tool_dir}/transcoda_helper_tool\")
")

# bin/transcoda -> ../lib/transcoda/transcoda, made once in the build tree and installed
# as a link.
file(RELATIVE_PATH to_private "/root/${CMAKE_INSTALL_BINDIR}" "/root/${private}")
foreach(command transcoda transcoda-cli)
  set(link ${CMAKE_BINARY_DIR}/install-links/${command})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
  file(CREATE_LINK ${to_private}/${command} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

set(desktop ${CMAKE_SOURCE_DIR}/resources/desktop)
install(FILES ${desktop}/transcoda.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/org.example.transcoda.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
