# Checks that the Japanese guide explains every message the program shows or prints: each
# fixed piece of text between the placeholders of a message in src/core/messages.*
# must appear in README.ja.md.
# Usage: cmake -DSOURCE_DIR=<top of the sources> -P check-guide.cmake
cmake_minimum_required(VERSION 3.16)

file(READ "${SOURCE_DIR}/README.ja.md" guide)
file(READ "${SOURCE_DIR}/src/core/messages.cpp" sources)
file(READ "${SOURCE_DIR}/src/core/messages.h" header)
# The entry names are words inside the messages, not messages of their own.
string(REGEX REPLACE "inline const QString entry[A-Za-z]+ =[ \t\r\n]*QStringLiteral\\([ \t\r\n]*\"[^\"]*\"[ \t\r\n]*\\);" ""
       header "${header}")
string(APPEND sources "\n${header}")

# Adjacent literals ("..." "...") are one string.
string(REGEX REPLACE "\"[ \t\r\n]*\"" "" sources "${sources}")
string(REGEX MATCHALL "QStringLiteral\\([ \t\r\n]*\"[^\"]*\"" literals "${sources}")

set(missing "")
set(checked 0)
foreach(literal IN LISTS literals)
    string(REGEX REPLACE "^QStringLiteral\\([ \t\r\n]*\"" "" text "${literal}")
    string(REGEX REPLACE "\"$" "" text "${text}")
    string(REPLACE "\\\\" "\\" text "${text}")
    # Placeholders and line breaks separate the pieces; ";" would split a CMake list.
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REGEX REPLACE "%[0-9]|\\\\r|\\\\n" ";" pieces "${text}")
    foreach(piece IN LISTS pieces)
        string(REPLACE "<semicolon>" ";" piece "${piece}")
        string(STRIP "${piece}" piece)
        string(LENGTH "${piece}" bytes)
        # A lone bracket or mark (one Japanese character is three bytes) says nothing.
        if(bytes LESS 4)
            continue()
        endif()
        math(EXPR checked "${checked} + 1")
        string(FIND "${guide}" "${piece}" found)
        if(found EQUAL -1)
            list(APPEND missing "${piece}")
        endif()
    endforeach()
endforeach()

if(checked LESS 20)
    message(FATAL_ERROR "found only ${checked} pieces of messages to look for; has messages.cpp moved?")
endif()
if(missing)
    list(JOIN missing "\n  " shown)
    message(FATAL_ERROR "README.ja.md does not explain these pieces of messages:\n  ${shown}")
endif()
message(STATUS "README.ja.md explains all ${checked} pieces of the program's messages")
