// The settings file: "varnel.ini" in the desktop's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), section "Varnel", one key per setting.
// Read once at start-up, written once at exit.
#pragma once

#include "platform/ini_file.h"
#include "viewer/viewer_state.h"

#include <string>

// The settings file's path.
std::string SettingsPath();

// Reads every setting in the start-up order. An integer that does not start
// with a number reads as 0; a missing or empty integer keeps its current
// value; a float that is missing or not a finite number keeps its current
// value; a text reads as it stands (missing: empty), cut to
// MaxTextSettingLength.
void ReadSettings(ViewerSettings& settings, const IniText& file);

// Writes every setting in the same order: integers in decimal, floats as
// "%f", texts as they are. Other keys and sections of the file stay.
void WriteSettings(const ViewerSettings& settings, IniText& file);

// Loads, or saves (creating the folder), the settings file at path.
void LoadSettingsFile(ViewerSettings& settings, const std::string& path);
bool SaveSettingsFile(const ViewerSettings& settings, const std::string& path);
