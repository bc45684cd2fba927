#include "editor/find_replace_dialogs.h"

#include "common/field_rule.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QVBoxLayout>

SearchDialog::SearchDialog(QWidget *owner) : QDialog(owner)
{
    setModal(false);

    FindEdit = newField();
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    auto *findLabel = new QLabel(QStringLiteral("Найти:"), this);
    findLabel->setBuddy(FindEdit);

    WholeWordBox = new QCheckBox(QStringLiteral("Только слово целиком"), this);
    WholeWordBox->setObjectName(QStringLiteral("WholeWordBox"));
    MatchCaseBox = new QCheckBox(QStringLiteral("С учетом регистра"), this);
    MatchCaseBox->setObjectName(QStringLiteral("MatchCaseBox"));

    FindNextButton = new QPushButton(QStringLiteral("Найти далее"), this);
    FindNextButton->setObjectName(QStringLiteral("FindNextButton"));
    FindNextButton->setDefault(true);
    CloseButton = new QPushButton(QStringLiteral("Закрыть"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);

    m_fields = new QGridLayout;
    m_fields->addWidget(findLabel, 0, 0);
    m_fields->addWidget(FindEdit, 0, 1);
    m_options = new QGridLayout;
    m_options->addWidget(WholeWordBox, 0, 0);
    m_options->addWidget(MatchCaseBox, 1, 0);
    m_options->setColumnStretch(2, 1);

    auto *left = new QVBoxLayout;
    left->addLayout(m_fields);
    left->addLayout(m_options);
    left->addStretch(1);

    m_buttons = new QVBoxLayout;
    m_buttons->addWidget(FindNextButton);
    m_buttons->addWidget(CloseButton);
    m_buttons->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(FindNextButton, &QPushButton::clicked, this, &SearchDialog::Find);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

QLineEdit *SearchDialog::newField()
{
    auto *field = new QLineEdit(this);
    field->setMaxLength(int(FindReplace::kMaxFieldLength));
    field->setMinimumWidth(230);
    // A line break stays: in a search text it stands for a line break of the document.
    FieldRule::install(field, FieldText::LineBreaks::Keep, [this] { return repertoire(); });
    return field;
}

FieldText::Repertoire SearchDialog::repertoire() const
{
    return m_repertoire ? m_repertoire() : FieldText::Repertoire::Windows1251;
}

QString SearchDialog::FindText() const
{
    return FieldText::held(FindEdit->text(), repertoire());
}

void SearchDialog::setFindText(const QString &text)
{
    FindEdit->setText(FindReplace::fieldText(text));
}

FindReplace::Options SearchDialog::Options() const
{
    FindReplace::Options options;
    options.matchCase = MatchCaseBox->isChecked();
    options.wholeWord = WholeWordBox->isChecked();
    return options;
}

void SearchDialog::Execute()
{
    show();
    raise();
    activateWindow();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

FindDialog::FindDialog(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Найти"));

    UpButton = new QRadioButton(QStringLiteral("Вверх"), this);
    UpButton->setObjectName(QStringLiteral("UpButton"));
    DownButton = new QRadioButton(QStringLiteral("Вниз"), this);
    DownButton->setObjectName(QStringLiteral("DownButton"));
    DownButton->setChecked(true);

    auto *direction = new QGroupBox(QStringLiteral("Направление"), this);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(UpButton);
    directionLayout->addWidget(DownButton);
    m_options->addWidget(direction, 0, 1, 2, 1);
}

FindReplace::Options FindDialog::Options() const
{
    FindReplace::Options options = SearchDialog::Options();
    options.direction = UpButton->isChecked() ? FindReplace::Direction::Up : FindReplace::Direction::Down;
    return options;
}

ReplaceDialog::ReplaceDialog(QWidget *owner) : SearchDialog(owner)
{
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setWindowTitle(QStringLiteral("Заменить"));

    ReplaceEdit = newField();
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    auto *replaceLabel = new QLabel(QStringLiteral("Заменить на:"), this);
    replaceLabel->setBuddy(ReplaceEdit);
    m_fields->addWidget(replaceLabel, 1, 0);
    m_fields->addWidget(ReplaceEdit, 1, 1);

    ReplaceButton = new QPushButton(QStringLiteral("Заменить"), this);
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    ReplaceButton->setAutoDefault(false);
    ReplaceAllButton = new QPushButton(QStringLiteral("Заменить все"), this);
    ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
    ReplaceAllButton->setAutoDefault(false);
    m_buttons->insertWidget(1, ReplaceButton);
    m_buttons->insertWidget(2, ReplaceAllButton);

    connect(ReplaceButton, &QPushButton::clicked, this, &ReplaceDialog::Replace);
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
        m_replaceAll = true;
        const auto reset = qScopeGuard([this] { m_replaceAll = false; });
        emit Replace();
    });
}

QString ReplaceDialog::ReplaceText() const
{
    return FieldText::held(ReplaceEdit->text(), repertoire());
}

void ReplaceDialog::setReplaceText(const QString &text)
{
    ReplaceEdit->setText(FindReplace::fieldText(text));
}
