# Third-party code: GoogleTest from Debian's sources, SQLite from Debian natively and from the
# amalgamation that scripts/setup fetches for MinGW.

if(BUILD_TESTING AND NOT RING_FUZZ)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(t gtest gtest_main gmock gmock_main)
        target_compile_options(${t} PRIVATE -w)
    endforeach()
endif()

if(WIN32)
    set(RING_SQLITE_DIR ${CMAKE_SOURCE_DIR}/build/deps/sqlite3 CACHE PATH "SQLite amalgamation")
    if(NOT EXISTS ${RING_SQLITE_DIR}/sqlite3.c)
        message(FATAL_ERROR "No SQLite amalgamation in ${RING_SQLITE_DIR}: run scripts/setup")
    endif()
    add_library(sqlite3 STATIC ${RING_SQLITE_DIR}/sqlite3.c)
    target_include_directories(sqlite3 SYSTEM PUBLIC ${RING_SQLITE_DIR})
    # KEYFILE uses plain tables, prepared statements and rollback journals; leaving out what it
    # never asks for, and optimising for size, halves the library's code, which Wine keeps
    # resident in every process that loads KEYFILE. File format and locking are unchanged.
    target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION
        SQLITE_DEFAULT_FOREIGN_KEYS=0 SQLITE_DQS=0 SQLITE_DEFAULT_MEMSTATUS=0
        SQLITE_LIKE_DOESNT_MATCH_BLOBS SQLITE_MAX_EXPR_DEPTH=0 SQLITE_OMIT_DECLTYPE
        SQLITE_OMIT_DEPRECATED SQLITE_OMIT_PROGRESS_CALLBACK SQLITE_OMIT_SHARED_CACHE
        SQLITE_OMIT_JSON SQLITE_OMIT_COMPLETE SQLITE_OMIT_TRACE
        SQLITE_OMIT_GET_TABLE SQLITE_OMIT_TCL_VARIABLE SQLITE_OMIT_AUTHORIZATION
        SQLITE_OMIT_INTROSPECTION_PRAGMAS SQLITE_OMIT_DATETIME_FUNCS SQLITE_OMIT_DESERIALIZE
        SQLITE_OMIT_COMPILEOPTION_DIAGS SQLITE_OMIT_INCRBLOB SQLITE_OMIT_BLOB_LITERAL
        SQLITE_OMIT_AUTOMATIC_INDEX SQLITE_OMIT_XFER_OPT SQLITE_OMIT_OR_OPTIMIZATION
        SQLITE_OMIT_LIKE_OPTIMIZATION SQLITE_OMIT_BETWEEN_OPTIMIZATION
        SQLITE_OMIT_TRUNCATE_OPTIMIZATION SQLITE_OMIT_AUTOVACUUM SQLITE_OMIT_FOREIGN_KEY
        SQLITE_OMIT_FLAG_PRAGMAS SQLITE_OMIT_CASE_SENSITIVE_LIKE_PRAGMA SQLITE_UNTESTABLE
        SQLITE_MAX_WORKER_THREADS=0 SQLITE_MAX_MMAP_SIZE=0 SQLITE_OMIT_LOOKASIDE
        SQLITE_DEFAULT_PCACHE_INITSZ=0)
    # Each connection's page cache stays within 256 KiB instead of 2 MB: the server's one
    # connection otherwise grows its working set call by call for hours (inserts touch ever more
    # index pages of a large log) until the 2 MB bound. The operating system's file cache holds
    # the rest; reports and purges scan each page about once either way.
    target_compile_definitions(sqlite3 PRIVATE SQLITE_DEFAULT_CACHE_SIZE=-256)
    target_compile_options(sqlite3 PRIVATE -w -Os)
    set_target_properties(sqlite3 PROPERTIES POSITION_INDEPENDENT_CODE ON)
else()
    find_package(SQLite3 REQUIRED)
    add_library(sqlite3 INTERFACE)
    target_link_libraries(sqlite3 INTERFACE SQLite::SQLite3)
endif()
