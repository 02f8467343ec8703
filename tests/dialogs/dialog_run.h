// The main window of one program run for the dialog tests: a page in the
// active editor with the caret or a selection placed by "|" marks, and the
// forms the dialogs run modally filled through the scripted responder.
#pragma once

#include "../app/program_run.h"
#include "component/tivra_component.h"
#include "dialogs/edited_element.h"
#include "mainwindow/kestrin.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <string>

namespace dialog_test {

class DialogRun : public ::testing::Test {
 protected:
  DialogRun() {
    run.environment.set("MORVEL_HOME", run.dir.path());
    run.restart();
  }

  TKestrin& k() { return run.kestrin(); }
  TTivra& e() { return *k().activeEditor(); }

  // The page with its "|" marks taken out: one mark is the caret, two are a
  // selection between them.
  void setPage(std::string marked) {
    const std::size_t first = marked.find('|');
    marked.erase(first, 1);
    std::size_t second = marked.find('|');
    if (second != std::string::npos)
      marked.erase(second, 1);
    else
      second = first;
    e().setTextBytes(marked);
    e().EmptyUndoBuffer();
    const auto at = [&](std::size_t offset) {
      int line = 1;
      std::size_t lineStart = 0;
      for (std::size_t i = 0; i < offset; ++i) {
        if (marked[i] == '\n') {
          ++line;
          lineStart = i + 1;
        }
      }
      return std::pair{line, static_cast<int>(offset - lineStart)};
    };
    const auto [l1, c1] = at(first);
    const auto [l2, c2] = at(second);
    e().setStartLine(l1);
    e().setStartPos(c1);
    e().setEndLine(l2);
    e().setEndPos(c2);
    e().SetSelection();
  }
  std::string page() { return e().TextBytes(); }

  // The next form is filled by `fill` and confirmed with its OK button.
  void confirmNextForm(std::function<void(QDialog&)> fill = {}) {
    responder.answer([fill](platform::Request& r) {
      EXPECT_EQ(r.kind, platform::RequestKind::Form);
      if (!r.form) return 0;
      if (fill) fill(*r.form);
      r.form->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
      return r.form->result();
    });
  }
  // The next form is looked at and cancelled.
  void cancelNextForm(std::function<void(QDialog&)> look = {}) {
    responder.answer([look](platform::Request& r) {
      if (r.form && look) look(*r.form);
      return static_cast<int>(QDialog::Rejected);
    });
  }

  app_test::ProgramRun run;
  testing_support::ScriptedResponder responder;
};

template <typename T>
T* control(QDialog& form, const char* name) {
  T* found = form.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// With MORVEL_DIALOG_PICTURES set to a folder, forms are saved there as
// pictures to look at.
inline void picture(QWidget& form, const char* name) {
  const QString folder = qEnvironmentVariable("MORVEL_DIALOG_PICTURES");
  if (!folder.isEmpty()) form.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

inline QString field(QDialog& form, const char* name) { return control<QLineEdit>(form, name)->text(); }
inline void setField(QDialog& form, const char* name, const QString& text) {
  control<QLineEdit>(form, name)->setText(text);
}

}  // namespace dialog_test
