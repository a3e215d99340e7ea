#include "app/history/edit_history.h"

#include <unordered_set>

void EditHistory::Reset() {
  m_steps.clear();
  m_position = 0;
  m_savedPosition = 0;
}

void EditHistory::Record(const PointFile& before, const ListState& beforeList, const PointFile& after,
                         const ListState& afterList) {
  // The steps that could have been redone end here, and with them a saved state among them.
  m_steps.erase(m_steps.begin() + static_cast<std::ptrdiff_t>(m_position), m_steps.end());
  if (m_savedPosition && *m_savedPosition > m_position) m_savedPosition.reset();

  std::shared_ptr<const PointFile> beforeFile;
  if (!m_steps.empty() && m_steps.back().after.file->Image() == before.Image())
    beforeFile = m_steps.back().after.file;
  else
    beforeFile = std::make_shared<const PointFile>(before);
  m_steps.push_back({{std::move(beforeFile), beforeList}, {std::make_shared<const PointFile>(after), afterList}});
  ++m_position;

  if (m_steps.size() > m_maxSteps) {
    m_steps.pop_front();
    --m_position;
    // The saved state was the oldest one kept: it can no longer be reached.
    if (m_savedPosition) m_savedPosition = *m_savedPosition > 0 ? std::optional(*m_savedPosition - 1) : std::nullopt;
  }
}

std::optional<FileState> EditHistory::Undo() {
  if (!CanUndo()) return std::nullopt;
  return m_steps[--m_position].before;
}

std::optional<FileState> EditHistory::Redo() {
  if (!CanRedo()) return std::nullopt;
  return m_steps[m_position++].after;
}

std::size_t EditHistory::MemoryBytes() const {
  std::unordered_set<const PointFile*> images;
  std::size_t bytes = m_steps.size() * sizeof(Step);
  for (const Step& step : m_steps) {
    for (const FileState* state : {&step.before, &step.after}) {
      bytes += state->list.selected.capacity() * sizeof(int);
      if (images.insert(state->file.get()).second) bytes += sizeof(PointFile);
    }
  }
  return bytes;
}
