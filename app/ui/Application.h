// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

// Runs the tray application: one per session, its shell over a widget application object, until quit.
// `loginStart`: started by the desktop session at login.
int runApplication(int argc, char **argv, bool loginStart);
