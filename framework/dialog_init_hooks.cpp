#include "framework/dialog_init_hooks.h"

#include <map>

#include "framework/dialog.h"

namespace {

struct Hook {
  DialogInitHook run;
  int calls = 0;
};

std::map<int, Hook>& Hooks() {
  static std::map<int, Hook> hooks;
  return hooks;
}

}  // namespace

ScopedDialogInitHook::ScopedDialogInitHook(int templateId, DialogInitHook hook)
    : m_templateId(templateId) {
  Hooks()[templateId] = Hook{std::move(hook)};
}

ScopedDialogInitHook::~ScopedDialogInitHook() { Hooks().erase(m_templateId); }

int ScopedDialogInitHook::Calls() const {
  auto it = Hooks().find(m_templateId);
  return it == Hooks().end() ? 0 : it->second.calls;
}

void RunDialogInitHooks(Dialog& dialog) {
  auto it = Hooks().find(dialog.TemplateId());
  if (it == Hooks().end()) return;
  ++it->second.calls;
  // A copy: the hook may end the dialog or install other hooks.
  DialogInitHook run = it->second.run;
  run(dialog);
}
