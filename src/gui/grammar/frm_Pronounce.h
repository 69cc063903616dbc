#pragma once

#include <QString>
#include <vector>

#include "gui/kit/SkinnedScreen.h"

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace qv::grammar {

// The pronunciation screen: every word of the command set the recogniser's
// dictionary lacks, with the phones made for it, and the pilot's own
// pronunciations (Data/Pronunciations.txt), which the compiler and the
// recogniser use first. A word can be heard, given other phones (checked
// phone by phone as they are typed) or set back to the made ones; "save"
// writes the list.
class frm_Pronounce final : public ui::SkinnedScreen {
  Q_OBJECT

 public:
  frm_Pronounce(const ui::ScreenServices& services, ui::ScreenHost& host);

  // "pronunciations" of the configuration screen, after it remembered its
  // selections: gathers the words and enters.
  void Begin();
  bool unsavedChanges() const override { return m_unsaved; }

  void WordChosen(int row);
  void PhonesEdited(const QString& text);
  void Play();
  void Reset();
  bool Save();
  void Cancel();

  QTreeWidget* listWords;
  QLineEdit* txt_Phones;
  QLabel* lbl_PhoneProblem;
  QLabel* lbl_Word;

  struct Row {
    QString word, spelling, generated;
    QString phones;  // the list's (first) phones; empty: the generated ones are used
  };
  const std::vector<Row>& rows() const { return m_rows; }

 private:
  void ShowRow(int row);
  void SetUnsaved(bool unsaved);
  int Current() const;

  std::vector<Row> m_rows;
  QByteArray m_previous;  // the list file as read, for its heading
  bool m_unsaved = false;
};

}  // namespace qv::grammar
