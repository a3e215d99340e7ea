#include "app/point_edit_dialog.h"

#include "framework/prompts.h"
#include "resources/resource.h"
#include "app/voice_guidance.h"

const MessageEntry PointEditDialog::kMessageEntries[] = {
    OnControl<&PointEditDialog::OnIconNumberChange>(EN_CHANGE, IDC_POINT_ICON_NUMBER),
    OnMessage<&PointEditDialog::OnDestroy>(WM_DESTROY),
};
OSTREL_DEFINE_MESSAGE_TABLE(PointEditDialog, Dialog);

PointEditDialog::PointEditDialog(HWND owner, const ImageList& largeIcons)
    : Dialog(IDD_POINT_EDIT, owner), m_largeIcons(largeIcons) {}

PointEditDialog::~PointEditDialog() {
  if (m_shownIcon) ::DestroyIcon(m_shownIcon);
}

void PointEditDialog::DoDataExchange(DataExchange& dx) {
  dx.Control(IDC_POINT_LATITUDE, m_latitudeEdit);
  dx.Control(IDC_POINT_LONGITUDE, m_longitudeEdit);
  dx.Control(IDC_POINT_NAME, m_nameEdit);
  dx.Control(IDC_POINT_ICON_NUMBER, m_iconNumberEdit);
  dx.Control(IDC_POINT_ICON, m_iconPicture);
  dx.Control(IDC_POINT_VOICE, m_voiceBox);
  dx.Control(IDC_POINT_DATE, m_dateEdit);
  dx.Control(IDC_POINT_TIME, m_timeEdit);
  dx.Control(IDC_POINT_ICON_SPIN, m_spin);
  dx.Text(IDC_POINT_NAME, entry.name);
  dx.Text(IDC_POINT_PHONE, entry.phone);
  dx.Text(IDC_POINT_TIME, entry.time);
  dx.Text(IDC_POINT_LONGITUDE, entry.longitude);
  dx.Text(IDC_POINT_LATITUDE, entry.latitude);
  dx.Text(IDC_POINT_DATE, entry.date);
  dx.Text(IDC_POINT_NICKNAME, entry.nickname);
  dx.Text(IDC_POINT_ICON_NUMBER, m_iconText);
  dx.Text(IDC_POINT_LOCATION, entry.location);
}

BOOL PointEditDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  m_dateEdit.Enable(false);
  m_timeEdit.Enable(false);

  // Held back while it fills, the box's list sets its scroll bar once, not once a label.
  m_voiceBox.Send(WM_SETREDRAW, FALSE);
  m_voiceBox.ResetContent();
  for (const VoiceGuidanceEntry& voice : VoiceGuidanceTable) m_voiceBox.AddString(voice.label);
  m_voiceBox.Send(WM_SETREDRAW, TRUE);
  m_voiceIndex = VoiceIndexForCode(entry.voiceCode);
  m_voiceBox.SetCurSel(m_voiceIndex);

  // The range is wider than the 55 pictures: the unit knows more icons than we draw.
  m_spin.SetBuddy(m_iconNumberEdit);
  m_spin.SetRange32(kMinIconNumber, kMaxIconNumber);
  m_spin.SetPos32(entry.iconNumber);  // writes the number into the edit
  ShowIcon(entry.iconNumber - 1);
  return TRUE;
}

void PointEditDialog::ShowIcon(int imageIndex) {
  // The spin writing the first number has shown its picture already (EN_CHANGE).
  if (imageIndex == m_shownImage) return;
  m_shownImage = imageIndex;
  HICON icon = imageIndex >= 0 ? m_largeIcons.GetIcon(imageIndex, ILD_NORMAL) : nullptr;
  m_iconPicture.SetIcon(icon);
  if (m_shownIcon) ::DestroyIcon(m_shownIcon);
  m_shownIcon = icon;
}

void PointEditDialog::OnIconNumberChange() {
  // Typing and the spin arrows both land here, so the preview follows the number at once.
  // Before OnInitDialog has given the spin its buddy there is no number to follow.
  if (!m_spin.IsWindow()) return;
  Invalidate();
  ShowIcon(m_spin.GetPos32() - 1);
}

int PointEditDialog::SelectedVoiceIndex() const {
  const int selected = m_voiceBox.GetCurSel();
  if (selected >= 0) return selected;
  // The box takes typed text: a label typed in full counts as chosen; anything else keeps
  // the choice the dialog opened with.
  const std::string typed = m_voiceBox.Text();
  for (int i = 0; i < kVoiceGuidanceCount; ++i) {
    if (typed == VoiceGuidanceTable[i].label) return i;
  }
  return m_voiceIndex;
}

void PointEditDialog::OnOK() {
  Invalidate();
  m_voiceIndex = SelectedVoiceIndex();
  entry.voiceCode = VoiceGuidanceTable[m_voiceIndex].code;
  // Text that is no number within the range leaves the spin at its last valid position.
  entry.iconNumber = m_spin.GetPos32() & 0xFFFF;
  entry.name = m_nameEdit.Text();
  entry.longitude = m_longitudeEdit.Text();
  entry.latitude = m_latitudeEdit.Text();

  const std::string problem = CheckEntryOnOk(entry.name, entry.longitude, entry.latitude);
  if (!problem.empty()) {
    Prompts().ShowMessage(m_hwnd, problem);
    return;
  }
  Dialog::OnOK();
}

LRESULT PointEditDialog::OnDestroy(WPARAM, LPARAM) {
  // The picture control does not own the icon it shows; take it back before it goes.
  m_iconPicture.SetIcon(nullptr);
  if (m_shownIcon) ::DestroyIcon(m_shownIcon);
  m_shownIcon = nullptr;
  m_shownImage = kNoImageShownYet;
  return Default();
}
