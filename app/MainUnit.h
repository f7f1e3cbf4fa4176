#pragma once
// Texts of the main unit, fixed for the managed model.
extern const char* const g_ModelName;       // "LMR-7300AP"
extern const char* const g_ModelNameSuffix; // ""
extern const char* const g_HelpPathValueName;
extern const char* const g_SingleInstanceMessage;
extern const char* const g_Setting11gError;
extern const char* const g_Setting11gSuccess;
extern const char* const g_BandCaption;

// The model's series digit (the sixth character of the model name).
int ModelSeriesDigit();
