# The patterns library's sources, also compiled into the fuzz targets.
set(PATTERNS_SOURCES
    Archive.cpp
    BankFile.cpp
    DataStore.cpp
    Pattern.cpp
    PatternCodec.cpp
    SafeFile.cpp
    StoreFile.cpp
    Windows1252.cpp)
list(TRANSFORM PATTERNS_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/patterns/)
