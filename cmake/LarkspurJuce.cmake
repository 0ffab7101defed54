# JUCE's modules, compiled once into one static, position-independent library.
# Every target that includes JUCE headers links larkspur_juce and so sees exactly the
# same definitions (JUCE checks its configuration at link time).
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LARKSPUR_SYSTEM_LIBS REQUIRED IMPORTED_TARGET flac libpng libjpeg zlib freetype2)

add_library(larkspur_juce STATIC)
target_link_libraries(larkspur_juce
    PRIVATE
        juce::juce_audio_processors
        juce::juce_audio_formats
        juce::juce_dsp
    PUBLIC
        juce::juce_recommended_config_flags
        PkgConfig::LARKSPUR_SYSTEM_LIBS
        Threads::Threads
        ${CMAKE_DL_LIBS})
target_compile_definitions(larkspur_juce
    PUBLIC
        JUCE_USE_CURL=0
        JUCE_WEB_BROWSER=0
        JUCE_USE_FLAC=1
        JUCE_USE_OGGVORBIS=0
        JUCE_USE_MP3AUDIOFORMAT=0
        JUCE_USE_LAME_AUDIO_FORMAT=0
        JUCE_USE_WINDOWS_MEDIA_FORMAT=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_MODAL_LOOPS_PERMITTED=1
        JUCE_STRICT_REFCOUNTEDPOINTER=1
        JUCE_SILENCE_XCODE_15_LINKER_WARNING=1
        $<$<CONFIG:Debug>:DEBUG=1 _DEBUG=1>
        $<$<NOT:$<CONFIG:Debug>>:NDEBUG=1 _NDEBUG=1>)
set_target_properties(larkspur_juce PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    VISIBILITY_INLINES_HIDDEN ON
    CXX_VISIBILITY_PRESET hidden)
# JUCE's FLAC reader shifts negative samples left: undefined in C++17 and reported by
# UBSan, defined by every compiler we use (and by C++20).
if(LARKSPUR_SANITIZE MATCHES "undefined")
    target_compile_options(larkspur_juce PRIVATE -fno-sanitize=shift-base)
endif()
# Consumers get the modules' include paths and definitions without compiling them again.
target_include_directories(larkspur_juce INTERFACE $<TARGET_PROPERTY:larkspur_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions(larkspur_juce INTERFACE $<TARGET_PROPERTY:larkspur_juce,COMPILE_DEFINITIONS>)

