# Compiler settings shared by every target of the project.
add_library(velmira_opzioni INTERFACE)
target_compile_features(velmira_opzioni INTERFACE cxx_std_20)
target_compile_options(velmira_opzioni INTERFACE -Wall -Wextra)
if(VELMIRA_WERROR)
    target_compile_options(velmira_opzioni INTERFACE -Werror)
endif()
target_compile_definitions(velmira_opzioni INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    SI_CONVERT_ICU)
target_include_directories(velmira_opzioni INTERFACE ${PROJECT_SOURCE_DIR}/src)
