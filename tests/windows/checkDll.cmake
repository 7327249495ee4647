# Fails unless the DLL exports exactly the EXPECTED names (a sorted
# comma-separated list; VSTPluginMain and main, both at the same address,
# unless told otherwise) and imports only DLLs that every Windows system has
# (the C++ and thread runtimes must be linked in, or hosts fail to load the
# plug-in).
cmake_minimum_required(VERSION 3.25)
if(NOT DEFINED EXPECTED)
  set(EXPECTED "VSTPluginMain,main")
endif()
string(REPLACE "," ";" EXPECTED "${EXPECTED}")
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

# The registry, the window and GDI drawing, the common dialogs and OLE drag
# and drop. msimg32.dll is not among them: the editor loads it at run time and
# draws without it where it is missing.
set(systemDlls kernel32.dll msvcrt.dll advapi32.dll user32.dll gdi32.dll comdlg32.dll
  ole32.dll shell32.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" importLines "${out}")
set(imports "")
foreach(line IN LISTS importLines)
  string(REGEX REPLACE "DLL Name: *" "" name "${line}")
  string(STRIP "${name}" name)
  list(APPEND imports "${name}")
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST systemDlls)
    message(FATAL_ERROR "imports ${name}, which is not a system DLL")
  endif()
endforeach()
message(STATUS "imports: ${imports}")
if(NOT imports)
  message(FATAL_ERROR "no import table found")
endif()

# The export table lists "[ordinal] name" lines after "[Ordinal/Name Pointer] Table".
string(FIND "${out}" "[Ordinal/Name Pointer] Table" tableStart)
if(tableStart LESS 0)
  message(FATAL_ERROR "no export name table found")
endif()
string(SUBSTRING "${out}" ${tableStart} -1 table)
string(FIND "${table}" "\n\n" tableEnd)
string(SUBSTRING "${table}" 0 ${tableEnd} table)
string(REGEX MATCHALL "\n[\t ]+\\[ *[0-9]+\\] [^\n]+" exportLines "${table}")
set(exports "")
foreach(line IN LISTS exportLines)
  string(REGEX REPLACE "^\n[\t ]+\\[ *[0-9]+\\] " "" name "${line}")
  string(STRIP "${name}" name)
  list(APPEND exports "${name}")
endforeach()
list(SORT exports)
message(STATUS "exports: ${exports}")
if(NOT exports STREQUAL EXPECTED)
  message(FATAL_ERROR "unexpected exports: ${exports}")
endif()
if(NOT EXPECTED STREQUAL "VSTPluginMain;main")
  return()
endif()

# Both names must lead to the one function: same export address.
string(REGEX MATCHALL "\n[\t ]+\\[ *[0-9]+\\] \\+base\\[ *[0-9]+\\] [0-9a-fA-F]+ Export RVA" rvaLines "${out}")
set(rvas "")
foreach(line IN LISTS rvaLines)
  string(REGEX REPLACE ".*\\] ([0-9a-fA-F]+) Export RVA" "\\1" rva "${line}")
  list(APPEND rvas "${rva}")
endforeach()
list(REMOVE_DUPLICATES rvas)
list(LENGTH rvas distinct)
if(NOT distinct EQUAL 1)
  message(FATAL_ERROR "the two exports lead to different addresses: ${rvas}")
endif()
