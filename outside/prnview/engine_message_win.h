// The engine's one way of telling the user something: a message box over its own window.
#pragma once
#include <windows.h>

#include <string>

constexpr const char *kEngineCaption = "Print Preview";

void EngineMessage(HWND owner, const std::string &text);
