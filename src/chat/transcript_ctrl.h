#pragma once

#include "readable_colours.h"
#include "transcript_look.h"

#include <QColor>
#include <QList>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

// The chat window's record of the conversation, for the operator only: nothing in it is sent.
// Each append adds one line with its own colour and weight, kept so that the transcript can be
// saved as rich text or printed as it looks. Text is always inserted as plain text: a chat line
// or canned answer holding HTML shows its raw source.
//
// Lines are kept as lines: with times shown each starts with its time, and each colour is made
// lighter or darker where it would not read on the palette's background; the saved and printed
// transcript keeps the colours on paper.
//
// Appends must run on the thread that owns the widget (the GUI thread). Network events reach it
// through the chat window's bridge, which queues them in arrival order; a line is therefore
// never interleaved with another one.
class CTranscriptCtrl final : public QTextEdit, public IReadableColours
{
    Q_OBJECT

public:
    // Colours of the kinds of line, the same wherever transcripts are shown.
    static constexpr QRgb kOwnNameColour = CTranscriptLook::kOwnNameColour;
    static constexpr QRgb kOtherNameColour = CTranscriptLook::kOtherNameColour;
    static constexpr QRgb kChatTextColour = CTranscriptLook::kChatTextColour;
    static constexpr QRgb kAddressColour = CTranscriptLook::kAddressColour;
    static constexpr QRgb kNoticeColour = CTranscriptLook::kNoticeColour;

    explicit CTranscriptCtrl(QWidget* parent = nullptr);

    // One line of the conversation, in the look of its kind.
    void Append(const CTranscriptLine& line);
    // The time before each line; the lines already shown are shown again.
    void SetShowTimes(bool show);
    const QList<CTranscriptLine>& Lines() const { return m_lines; }
    // The transcript as it is saved and printed: the colours on paper, with the times when they
    // are shown. Valid until the next call.
    const QTextDocument& PaperDocument();
    // Every kind of line on the background it is shown on now.
    QList<CColourPair> ColourPairs() const override;

    // Chat text and sent addresses: not bold, not underlined.
    void AppendText(const QString& text, const QColor& colour);
    // Speaker names ("Name:"): bold, not underlined.
    void AppendBoldText(const QString& text, const QColor& colour);
    // System notices; the chat window passes underline off and bold on.
    void AppendNotice(const QString& text, const QColor& colour, bool underline, bool bold);

protected:
    void changeEvent(QEvent* event) override;

private:
    QColor Background() const;
    void ShowAgain();
    void AppendLine(const QString& text, const QColor& colour, bool bold, bool underline);
    void RestoreCaret(int anchor, int position);
    void OnScrollValueChanged(int value);
    void OnScrollRangeChanged(int minimum, int maximum);
    void ScrollToEnd();

    // True while the view shows the end of the transcript. New lines then keep it there; once
    // the operator scrolls up to read, they arrive without moving the view.
    bool m_followEnd = true;
    bool m_scrollToEndPending = false;
    QList<CTranscriptLine> m_lines;
    bool m_showTimes = false;
    QColor m_background; // what the lines' colours were chosen for
    std::unique_ptr<QTextDocument> m_paper;
};
