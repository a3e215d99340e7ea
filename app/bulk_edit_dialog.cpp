#include "app/bulk_edit_dialog.h"

#include <cstdio>
#include <string>

#include "app/voice_guidance.h"
#include "framework/text_encoding.h"
#include "resources/resource.h"

namespace {

constexpr char kUnchangedText[] = "変更しない";
constexpr int kPictureCount = 55;  // the icons the program draws

}  // namespace

BulkEditDialog::BulkEditDialog(HWND owner, const ImageList& smallIcons)
    : Dialog(IDD_BULK_EDIT, owner), m_smallIcons(smallIcons) {}

BOOL BulkEditDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  HWND icons = Item(IDC_BULK_ICON);
  ::SendMessageW(icons, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_smallIcons.Handle()));
  // Row 0 leaves the icon alone; row k is icon number k with its picture.
  for (int number = 0; number <= kPictureCount; ++number) {
    char numberText[8];
    std::snprintf(numberText, sizeof numberText, "%02d", number);
    std::wstring text = WidenText(number == 0 ? std::string(kUnchangedText) : std::string(numberText));
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
    item.iItem = number;
    item.pszText = text.data();
    item.iImage = item.iSelectedImage = number - 1;
    ::SendMessageW(icons, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  ::SendMessageW(icons, CB_SETCURSEL, 0, 0);

  const ComboBox voices(Item(IDC_BULK_VOICE));
  voices.AddString(kUnchangedText);
  for (const VoiceGuidanceEntry& entry : VoiceGuidanceTable) voices.AddString(entry.label);
  voices.SetCurSel(0);
  return TRUE;
}

void BulkEditDialog::OnOK() {
  const int icon = static_cast<int>(::SendMessageW(Item(IDC_BULK_ICON), CB_GETCURSEL, 0, 0));
  const int voice = ComboBox(Item(IDC_BULK_VOICE)).GetCurSel();
  choice = {};
  if (icon > 0) choice.iconNumber = icon;
  if (voice > 0) choice.voiceCode = VoiceGuidanceTable[voice - 1].code;
  EndDialog(IDOK);
}
