#pragma once

// The main window's status line: one short sentence about what the last command did (applied,
// restored, exported, imported, or why not). It fades away after a few seconds, so that it
// never has to be closed; nothing of it is a question.

#include <QLabel>
#include <QString>
#include <QTimer>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace zarvin {

class StatusLine : public QLabel {
    Q_OBJECT

public:
    explicit StatusLine(QWidget* parent);

    // Shows `text`, its "%s" replaced by `argument`, at full strength; an earlier sentence is
    // replaced. Where the whole sentence does not fit the line's two lines, the line shows it
    // shortened (the argument first, in its middle) and its tool tip and spoken name keep it whole.
    void Say(const QString& text, const QString& argument = {});
    // What the line says now, whole; empty once it has faded.
    QString Said() const { return said_; }

private:
    bool Fits(const QString& shown) const;
    QString Fitted(const QString& text, const QString& argument) const;
    void StartFading();
    void Faded();

    QString said_;
    QTimer hold_;
    QGraphicsOpacityEffect* opacity_ = nullptr;
    QPropertyAnimation* fade_ = nullptr;
};

}  // namespace zarvin
