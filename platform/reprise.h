#pragma once
#include <QString>
#include <functional>

class PortDialogue;

// Runs `action` with the program's handling by error number: 76 creates the missing folder of
// the failing file and retries; 70 and 71 offer Retry/Cancel; any other error is shown.
// Returns true when the action completed.
bool executerAvecReprise(PortDialogue& dialogues, const QString& titre,
                         const std::function<void()>& action);
