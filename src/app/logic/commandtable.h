#pragma once

#include "app/logic/commands.h"

#include <QList>
#include <QString>
#include <QtCore/qnamespace.h>

namespace zarno {

// One command of the program: how it is named, shown, reached and whether
// it toggles.
struct TCommandActionProperty
{
    TCommandId id;
    bool isToggle;
    QString name;
    bool hasToolButton;
    // Qt::Key_unknown (the default) for a command without a shortcut.
    QKeyCombination shortcut;
    QString category;
    QString caption;
    // "tooltip|status text", or one text for both.
    QString hint;
    // A second key for the same command (redo: Ctrl+Y and Ctrl+Shift+Z).
    QKeyCombination alternativeShortcut = QKeyCombination();
};

// One item of a menu: its parent ("root" for a top-level item), and the
// command it runs or, for a submenu, its caption.
struct TMenuProperty
{
    QString item;
    QString parent;
    QString action;
    QString caption;
};

struct TCommandTable
{
    static const QList<TCommandActionProperty> &commands();
    static const QList<TMenuProperty> &mainMenu();
    static const QList<TMenuProperty> &popupMenu();
    static const TCommandActionProperty *find(const QString &name);
    static QString tooltipOf(const QString &hint);
    static QString statusTipOf(const QString &hint);
    // "新規作成(&N)" gives "新規作成".
    static QString plainCaption(const QString &caption);
};

} // namespace zarno
