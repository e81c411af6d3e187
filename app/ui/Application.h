// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

// Runs the tray application: creates the settings, the history and the model once, starts the pipeline, shows the
// tray icon (or, on a desktop without a status area, the main window) and stops the pipeline at quit.
int runApplication(int argc, char **argv);
