# VanTrel.dll exports its two entry points undecorated and imports nothing but
# system DLLs and the host's own libraries.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)

set(allowed KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll COMDLG32.dll ADVAPI32.dll
            SHELL32.dll ODBC32.dll msvcrt.dll zlist.dll ZMAIL.DLL PS.dll)
string(TOLOWER "${allowed}" allowed)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line ${imports})
  string(REGEX REPLACE "DLL Name: " "" name "${line}")
  string(TOLOWER "${name}" lower)
  list(FIND allowed "${lower}" index)
  if(index EQUAL -1)
    message(FATAL_ERROR "VanTrel.dll imports ${name}, which is neither a system DLL nor the host's")
  endif()
endforeach()

foreach(export PLUGIN_Init PLUGIN_InitEx)
  if(NOT dump MATCHES "\\] ${export}\n")
    message(FATAL_ERROR "VanTrel.dll does not export ${export} undecorated")
  endif()
endforeach()
if(dump MATCHES "PLUGIN_Init(Ex)?@")
  message(FATAL_ERROR "VanTrel.dll exports a decorated entry point")
endif()
