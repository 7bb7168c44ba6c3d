// What a promoter does next, offered in the main window beside its menus: one line per action
// with its name, what it is for and the keys that reach it, keyboard first (the arrows move
// between the lines, Enter or Space opens one). Each line stands for a menu's own action: it
// opens what the menu opens and is hidden with the menu (a program driven by the suite).
#pragma once

#include <QFrame>
#include <QString>
#include <vector>

class QAction;
class QPushButton;

namespace startup::ui {

class ActionPanel : public QFrame {
  Q_OBJECT

 public:
  struct Line {
    QAction* action;      // triggered by the line; its menus decide whether the line shows
    QString description;  // what it is for, in a few words
    QString title = {};   // the action's caption without "&" when empty
    QString keys = {};    // the menu's keys ("Alt+S, S") when empty
  };

  explicit ActionPanel(QWidget* parent);

  // Adds `line` under the others.
  void add(const Line& line);
  // Shows the lines whose action and menus are visible, hides the others.
  void refresh();
  // The first line shown takes the focus.
  void focusFirst();

  // The keys that reach `action` through the menu bar: "Alt+" and its menu's letter, then its
  // own letter ("Alt+S, S"); "Alt+V" for an action on the bar itself; its shortcut when it has one.
  static QString menuKeys(const QAction* action);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Shown {
    QAction* action;
    std::vector<QWidget*> widgets;
    QPushButton* button;
  };
  std::vector<Shown> lines_;
};

}  // namespace startup::ui
