# Reads version.json and generates, into OUTPUT_DIR:
#   version_record.inc          the record's entries as C string literals, embedded by
#                               VersionRecord.cpp
#   orvendale.rc                the Windows resource script (VERSIONINFO and the icon)
#   <id>.desktop                the desktop entry
#   <id>.metainfo.xml           the AppStream metadata
# Run at configure time: orvendale_generate_version_files(JSON OUTPUT_DIR)

function(_orvendale_c_escape out value)
  string(REPLACE "\\" "\\\\" value "${value}")
  string(REPLACE "\"" "\\\"" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(_orvendale_xml_escape out value)
  string(REPLACE "&" "&amp;" value "${value}")
  string(REPLACE "<" "&lt;" value "${value}")
  string(REPLACE ">" "&gt;" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(orvendale_generate_version_files json_file output_dir)
  file(READ "${json_file}" json)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${json_file}")

  # Fixed part.
  set(record "")
  foreach(field FileVersion ProductVersion)
    string(JSON count LENGTH "${json}" fixed ${field})
    set(parts "")
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON part GET "${json}" fixed ${field} ${i})
      list(APPEND parts ${part})
    endforeach()
    list(JOIN parts "." dotted)
    list(JOIN parts "," commas)
    set(fixed_${field} "${commas}")
    string(APPEND record "  \"fixed.${field}=${dotted}\" \"\\0\"\n")
  endforeach()
  foreach(field FileFlagsMask FileFlags FileOS FileType FileSubtype FileDate)
    string(JSON value GET "${json}" fixed ${field})
    set(fixed_${field} "${value}")
    string(APPEND record "  \"fixed.${field}=${value}\" \"\\0\"\n")
  endforeach()

  string(JSON table GET "${json}" stringTable)
  string(JSON language GET "${json}" translation language)
  string(JSON code_page GET "${json}" translation codePage)
  string(APPEND record "  \"StringTable=${table}\" \"\\0\"\n")
  string(APPEND record "  \"Translation=${language},${code_page}\" \"\\0\"\n")

  # String table, in its order.
  set(rc_values "")
  string(JSON count LENGTH "${json}" strings)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    string(JSON key GET "${json}" strings ${i} 0)
    string(JSON value GET "${json}" strings ${i} 1)
    set(str_${key} "${value}")
    _orvendale_c_escape(escaped "${value}")
    string(APPEND record "  \"${key}=${escaped}\" \"\\0\"\n")
    string(REPLACE "\"" "\"\"" rc_value "${value}")
    string(APPEND rc_values "      VALUE \"${key}\", \"${rc_value}\\0\"\n")
  endforeach()

  file(WRITE "${output_dir}/version_record.inc.tmp"
       "// Generated from platform/version/version.json by GenerateVersionFiles.cmake.\n${record}")
  file(COPY_FILE "${output_dir}/version_record.inc.tmp" "${output_dir}/version_record.inc"
       ONLY_IF_DIFFERENT)

  # Windows resource script.
  math(EXPR language_hex "${language}" OUTPUT_FORMAT HEXADECIMAL)
  file(WRITE "${output_dir}/orvendale.rc"
"// Generated from platform/version/version.json by GenerateVersionFiles.cmake.
1 ICON \"orvendale.ico\"

1 VERSIONINFO
FILEVERSION ${fixed_FileVersion}
PRODUCTVERSION ${fixed_ProductVersion}
FILEFLAGSMASK ${fixed_FileFlagsMask}
FILEFLAGS ${fixed_FileFlags}
FILEOS ${fixed_FileOS}
FILETYPE ${fixed_FileType}
FILESUBTYPE ${fixed_FileSubtype}
BEGIN
  BLOCK \"StringFileInfo\"
  BEGIN
    BLOCK \"${table}\"
    BEGIN
${rc_values}    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", ${language_hex}, ${code_page}
  END
END
")

  # Desktop entry and AppStream metadata.
  string(JSON app_id GET "${json}" desktop id)
  string(JSON executable GET "${json}" desktop executable)
  string(JSON summary GET "${json}" desktop summary)
  string(JSON categories GET "${json}" desktop categories)
  string(JSON release_date GET "${json}" desktop releaseDate)
  file(WRITE "${output_dir}/${app_id}.desktop"
"[Desktop Entry]
Type=Application
Name=${str_ProductName}
Comment=${summary}
Exec=${executable}
Icon=${executable}
Terminal=false
Categories=${categories}
")
  _orvendale_xml_escape(description "${str_FileDescription}")
  _orvendale_xml_escape(copyright "${str_LegalCopyright}")
  file(WRITE "${output_dir}/${app_id}.metainfo.xml"
"<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<!-- Generated from platform/version/version.json by GenerateVersionFiles.cmake. -->
<component type=\"desktop-application\">
  <id>${app_id}</id>
  <metadata_license>CC0-1.0</metadata_license>
  <project_license>LicenseRef-proprietary</project_license>
  <name>${str_ProductName}</name>
  <summary>${summary}</summary>
  <description>
    <p>${description}</p>
  </description>
  <developer_name>${str_CompanyName}</developer_name>
  <launchable type=\"desktop-id\">${app_id}.desktop</launchable>
  <provides>
    <binary>${executable}</binary>
  </provides>
  <content_rating type=\"oars-1.1\"/>
  <releases>
    <release version=\"${ORVENDALE_PACKAGE_VERSION}\" date=\"${release_date}\"/>
  </releases>
</component>
")
  set(ORVENDALE_APP_ID "${app_id}" PARENT_SCOPE)
endfunction()
