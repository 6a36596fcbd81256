# Turns the help text of velarix-cli into its man page: the usage line is the
# synopsis, the lines up to "commands:" the options, each command line an
# entry of COMMANDS. Run as: cmake -DPROGRAM=... -DOUTPUT=... -DVERSION=... -P ManPage.cmake
cmake_policy(VERSION 3.25)
execute_process(COMMAND ${PROGRAM} help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} help failed")
endif()
string(REPLACE "\\" "\\\\" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")
# Brackets would hold CMake's list apart; they travel as placeholders.
string(REPLACE "[" "<OPEN>" help "${help}")
string(REPLACE "]" "<CLOSE>" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

set(section synopsis)
set(synopsis "")
set(options "")
set(commands "")
foreach(line IN LISTS lines)
  string(REPLACE "<OPEN>" "[" line "${line}")
  string(REPLACE "<CLOSE>" "]" line "${line}")
  if(line MATCHES "^usage: (.*)$")
    set(synopsis "${CMAKE_MATCH_1}")
  elseif(line STREQUAL "commands:")
    set(section commands)
  elseif(section STREQUAL "commands")
    string(STRIP "${line}" line)
    string(APPEND commands ".TP\n.B ${line}\n")
  else()
    string(STRIP "${line}" line)
    string(APPEND options "${line}\n.br\n")
  endif()
endforeach()

file(WRITE ${OUTPUT}
".TH VELARIX\\-CLI 1 \"\" \"Velarix ${VERSION}\" \"User Commands\"
.SH NAME
velarix\\-cli \\- service tool for ST20\\-family satellite decoders, from a shell
.SH SYNOPSIS
.B ${synopsis}
.SH DESCRIPTION
velarix\\-cli runs the operations of the Velarix window from a shell, for batch work and
scripts: the EEPROM over the serial link, firmware upload over the parallel port, JTAG
read\\-out and flash programming, channel tables, pictures, settings, and the simulated
decoder. It uses the same settings folder and messages as the window. Messages and log lines
go to standard error; requested data goes to the output file or standard output.
.SH OPTIONS
${options}.SH COMMANDS
${commands}.SH EXIT STATUS
0 done; 1 the operation failed (refusal, time\\-out, mismatch, short read, decoder error);
2 bad usage or an input file refused.
.SH SEE ALSO
\\fBvelarix \\-\\-help\\fR (the window) and \\fBvelarix\\-sim \\-\\-help\\fR (the simulated decoder).
")
