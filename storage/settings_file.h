/*
 * The settings file beside the program and the payout structure files: where
 * the settings lie, and reading and writing the tournament record through the
 * platform's profile functions, one key per call.
 */
#ifndef OSTREL_SETTINGS_FILE_H
#define OSTREL_SETTINGS_FILE_H

#include "path_text.h"
#include "tournament_state.h"

// Fills `path` (PathCapacity bytes) with the settings file of `instance`'s
// module; leaves it empty when the module name does not fit.
void MakeSettingsPath(ModuleHandle instance, char *path);

// Reads the seat count, the payout structure and the 18 chip counts from
// SettingsPath, and, when `mainWindow` is given, shows each count in its chip
// edit. The caller keeps that window's update guard set meanwhile.
void LoadSettings(WindowHandle mainWindow);

// Reads the bubble tool's inputs and the ladder from "common" and "payouts".
void LoadPayoutStructure(const char *path);

// Writes the bubble tool's inputs and all 30 places.
void SavePayoutStructure(const char *path);

// Writes the whole record to SettingsPath; nothing when there is none.
void SaveSettings();

#endif
