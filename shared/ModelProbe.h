// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Zentrope contributors
#pragma once

#include "ModelDeadline.h"
#include "ModelEnvironment.h"
#include "ModelStatus.h"

#include <QCoroTask>

// Reads the local model's availability and capabilities afresh from the model servers; nothing is cached.
//
// The server is the one the user named ("modelEndpoint", else OLLAMA_HOST), else the first loopback candidate with
// a usable model. A named server that is not on this machine is used only when "modelAllowRemote" is true. The model is
// the one the user named ("modelName") if that server has it, else the best installed one: able to chat, images first,
// then in the server's own order.
//
//   notEnabled         no model server answers (or the named one does not)
//   deviceNotEligible  nothing answers and neither `ollama` nor `llama-server` is on PATH (auto-detection only)
//   modelNotReady      a server answers but has no usable model, or the named model, or is still loading one
//   available          a model is installed and the status names it
//   unknown(reason)    any other answer, such as an error from the server or a named address that is not valid
//
// Every request is bounded by the environment's probe time-out, so a reading never hangs.
namespace ModelProbe {

QCoro::Task<ModelStatus> read(ModelEnvironment environment);
QCoro::Task<ModelStatus> read();
// A reading that ignores the user's choice of model and offers every usable model of the server it finds.
QCoro::Task<ModelStatus> catalog(ModelEnvironment environment);

// Reads again every poll interval while `status` says the model is loading; returns the first reading that does not,
// or the last one when the deadline passes first.
QCoro::Task<ModelStatus> waitWhileLoading(ModelEnvironment environment, ModelStatus status, ModelDeadline deadline);

// Programs whose presence on PATH shows model server software is installed.
QStringList serverPrograms();

} // namespace ModelProbe
