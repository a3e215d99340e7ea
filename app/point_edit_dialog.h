// PointEditDialog: the modal dialog (template 153) in which the user enters or changes one
// point. It holds only texts and numbers: the caller fills `entry`, runs the dialog, and
// on IDOK stores `entry` (StorePointEntry). The icon preview shows the main window's
// 32x32 pictures.
#pragma once

#include <windows.h>

#include <string>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "app/point_entry.h"

class PointEditDialog : public Dialog {
 public:
  PointEditDialog(HWND owner, const ImageList& largeIcons);
  ~PointEditDialog() override;

  // In: the point shown. Out, after IDOK: what the user entered (voiceCode one of the
  // voice table's codes, iconNumber within 1-181).
  PointEntry entry;

  BOOL OnInitDialog() override;
  void OnOK() override;
  // The picture of image `imageIndex` (icon number - 1); none for an index without one.
  void ShowIcon(int imageIndex);

 protected:
  void DoDataExchange(DataExchange& dx) override;

 private:
  void OnIconNumberChange();
  LRESULT OnDestroy(WPARAM, LPARAM);
  int SelectedVoiceIndex() const;

  const ImageList& m_largeIcons;
  int m_voiceIndex = 0;
  std::string m_iconText;
  static constexpr int kNoImageShownYet = -2;  // -1: the picture was emptied
  HICON m_shownIcon = nullptr;  // made from the image list; ours to destroy
  int m_shownImage = kNoImageShownYet;

  Edit m_latitudeEdit;
  Edit m_longitudeEdit;
  Edit m_nameEdit;
  Edit m_iconNumberEdit;
  Static m_iconPicture;
  ComboBox m_voiceBox;
  Edit m_dateEdit;
  Edit m_timeEdit;
  SpinButton m_spin;

  OSTREL_MESSAGE_TABLE();
};
