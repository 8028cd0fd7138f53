#include "canned_completer.h"

#include "canned_match_delegate.h"
#include "canned_match_model.h"
#include "colour_math.h"

#include <QKeyEvent>
#include <QListView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int kRowsShown = 8;
// More than anyone scrolls through in a completion list; the best of them are at the top.
constexpr size_t kRowsListed = 100;
constexpr int kCharsWide = 56;
// A query this long is not a few letters of an answer any more.
constexpr qsizetype kLongestQuery = 80;

bool IsOpenKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Space && key.modifiers() == Qt::ControlModifier;
}

bool IsListKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

CCannedCompleter::CCannedCompleter(QPlainTextEdit* input, const CannedAnswers& answers,
                                   ContextSource context)
    : QObject(input), m_input(input), m_context(std::move(context)), m_answers(answers),
      m_model(new CCannedMatchModel(m_matcher, this))
{

    m_list = new QListView(m_input->window());
    m_list->setObjectName(QStringLiteral("cannedCompletions"));
    m_list->setAccessibleName(tr("Canned answers"));
    m_list->hide();
    m_list->setModel(m_model);
    m_list->setItemDelegate(new CCannedMatchDelegate(m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setFrameStyle(QFrame::Box | QFrame::Plain);
    // The box keeps the focus, or the list would close as it is clicked.
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    connect(m_list, &QListView::clicked, this,
            [this](const QModelIndex& index) { InsertRow(index.row()); });

    connect(m_input, &QPlainTextEdit::cursorPositionChanged, this,
            &CCannedCompleter::OnCursorMoved);
    m_input->installEventFilter(this);
}

CCannedCompleter::~CCannedCompleter()
{
    delete m_list;
}

void CCannedCompleter::InsertAnswer(const QString& category, const QString& title,
                                    const QString& message)
{
    End();
    Put(m_input->textCursor(), category, title, message);
}

bool CCannedCompleter::eventFilter(QObject* watched, QEvent* event)
{
    if (m_list && watched == m_list->parentWidget() && event->type() == QEvent::Resize &&
        IsOpen()) {
        Place();
        return false;
    }
    if (watched != m_input)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (IsOpenKey(key) || (IsOpen() && IsListKey(key))) {
            event->accept();
            return true;
        }
        return false;
    }
    case QEvent::KeyPress:
        return OnKeyPress(static_cast<const QKeyEvent&>(*event));
    case QEvent::FocusOut:
    case QEvent::Hide:
        End();
        return false;
    default:
        return false;
    }
}

bool CCannedCompleter::IsOpen() const
{
    return m_list && !m_list->isHidden();
}

bool CCannedCompleter::OnKeyPress(const QKeyEvent& key)
{
    if (IsOpenKey(key)) {
        QTextCursor cursor = m_input->textCursor();
        cursor.clearSelection();
        m_input->setTextCursor(cursor);
        Begin(cursor.position(), false);
        return true;
    }
    if (IsOpen() && IsListKey(key)) {
        switch (key.key()) {
        case Qt::Key_Escape:
            End();
            break;
        case Qt::Key_Up:
            Step(-1, true);
            break;
        case Qt::Key_Down:
            Step(1, true);
            break;
        case Qt::Key_PageUp:
            Step(1 - kRowsShown, false);
            break;
        case Qt::Key_PageDown:
            Step(kRowsShown - 1, false);
            break;
        default: // Enter, Return, Tab
            InsertRow(m_list->currentIndex().row());
            break;
        }
        return true;
    }
    if (key.text() == QLatin1String("/")) {
        const int at = m_input->textCursor().selectionStart();
        if (at == 0 || m_input->document()->characterAt(at - 1).isSpace())
            m_slashTyped = at;
    }
    return false;
}

void CCannedCompleter::OnCursorMoved()
{
    if (m_slashTyped >= 0) {
        const int at = std::exchange(m_slashTyped, -1);
        const QTextCursor cursor = m_input->textCursor();
        if (!cursor.hasSelection() && cursor.position() == at + 1 &&
            m_input->document()->characterAt(at) == QLatin1Char('/')) {
            Begin(at, true);
            return;
        }
    }
    if (m_active)
        Refresh();
}

void CCannedCompleter::Begin(int position, bool slash)
{
    if (m_answers) {
        m_matcher.SetEntries(CCannedMatcher::EntriesOf(*m_answers));
        m_answers.reset();
        for (size_t entry = 0; entry < m_matcher.Size(); ++entry) {
            const CCannedMatcher::Entry& answer = m_matcher.At(entry);
            m_matcher.SetUses(entry, m_uses.Count(answer.category, answer.title));
        }
    }
    m_start = QTextCursor(m_input->document());
    m_start.setPosition(position);
    // What is typed at Ctrl+Space's position goes after it, into the query.
    m_start.setKeepPositionOnInsert(true);
    m_startPosition = position;
    m_slash = slash;
    m_active = true;
    m_query.reset();
    // Ahead of any filter installed since, such as the window's own Enter handling.
    m_input->installEventFilter(this);
    if (QWidget* window = m_input->window(); window != m_input)
        window->installEventFilter(this);
    Refresh();
}

void CCannedCompleter::End()
{
    m_active = false;
    m_query.reset();
    if (m_list)
        m_list->hide();
}

void CCannedCompleter::Refresh()
{
    const QTextCursor cursor = m_input->textCursor();
    const int from = m_startPosition + (m_slash ? 1 : 0);
    if (cursor.hasSelection() || cursor.position() < from ||
        m_start.position() != m_startPosition ||
        (m_slash && m_input->document()->characterAt(m_startPosition) != QLatin1Char('/')))
        return End();
    QTextCursor typed(m_input->document());
    typed.setPosition(from);
    typed.setPosition(cursor.position(), QTextCursor::KeepAnchor);
    const QString query = typed.selectedText();
    if (query.contains(QChar::ParagraphSeparator) || query.size() > kLongestQuery)
        return End();
    if (m_query == query)
        return;
    m_query = query;
    m_model->SetEntries(m_matcher.Match(query, kRowsListed));
    if (m_model->rowCount() == 0) {
        m_list->hide();
        return;
    }
    Place();
    m_list->setCurrentIndex(m_model->index(0));
    m_list->show();
    m_list->raise();
}

void CCannedCompleter::Place()
{
    QWidget* window = m_input->window();
    if (m_list->parentWidget() != window)
        m_list->setParent(window);
    // A plain line between the text's and the window's colours: the style's own frame can
    // vanish against a dark transcript beneath the list. Worked out at each opening, so a
    // change of theme is followed.
    QPalette palette = window->palette();
    palette.setColor(QPalette::WindowText,
                     Blend(palette.color(QPalette::Text), palette.color(QPalette::Base), 0.5));
    m_list->setPalette(palette);
    const QFontMetrics metrics(m_list->font());
    const int margin = metrics.height() / 2;
    const int frame = 2 * m_list->frameWidth();
    const int rows = std::min(m_model->rowCount(), kRowsShown);
    int height = rows * m_list->sizeHintForRow(0) + frame;
    const int width = std::max(
        0, std::min(window->width() - 2 * margin, metrics.averageCharWidth() * kCharsWide));

    // Under what is typed, from its start, below the line when the list fits there, else where
    // there is more room.
    QTextCursor start(m_input->document());
    start.setPosition(m_startPosition);
    const QRect caret = m_input->cursorRect(start);
    const QPoint below = m_input->viewport()->mapTo(window, caret.bottomLeft() + QPoint(0, 1));
    const QPoint above = m_input->viewport()->mapTo(window, caret.topLeft());
    const int roomBelow = window->height() - margin - below.y();
    const int roomAbove = above.y() - margin;
    int y = below.y();
    if (height <= roomBelow || roomBelow >= roomAbove) {
        height = std::min(height, roomBelow);
    } else {
        height = std::min(height, roomAbove);
        y = above.y() - height;
    }
    const int x = std::clamp(below.x(), margin, std::max(margin, window->width() - margin - width));
    m_list->setGeometry(x, y, width, std::max(height, frame + metrics.height()));
}

void CCannedCompleter::Step(int rows, bool wrap)
{
    const int count = m_model->rowCount();
    int row = m_list->currentIndex().row() + rows;
    if (wrap)
        row = (row % count + count) % count;
    else
        row = std::clamp(row, 0, count - 1);
    m_list->setCurrentIndex(m_model->index(row));
}

void CCannedCompleter::InsertRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const CCannedMatcher::Entry entry = m_matcher.At(m_model->EntryAt(row));
    QTextCursor where(m_input->document());
    where.setPosition(m_startPosition);
    where.setPosition(m_input->textCursor().position(), QTextCursor::KeepAnchor);
    End();
    Put(where, entry.category, entry.title, entry.message);
}

void CCannedCompleter::Put(QTextCursor where, const QString& category, const QString& title,
                           const QString& message)
{
    const CannedContext context = m_context ? m_context() : CannedContext{};
    where.beginEditBlock();
    where.insertText(FillCannedPlaceholders(message, context));
    where.endEditBlock();
    m_input->setTextCursor(where);

    m_uses.Record(category, title);
    const int uses = m_uses.Count(category, title);
    for (size_t entry = 0; entry < m_matcher.Size(); ++entry) {
        if (m_matcher.At(entry).category == category && m_matcher.At(entry).title == title)
            m_matcher.SetUses(entry, uses);
    }
}
