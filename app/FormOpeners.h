#pragma once
// The composition root of the feature forms: the main window opens a form by
// its class name, and only this registers which forms there are.

void RegisterFormOpeners();
