#include "designer/dialog_designer_window.h"

#include "catalogue/catalogue_window.h"
#include "common/dialog_seam.h"
#include "common/field_text.h"
#include "common/fixed_layout.h"
#include "common/handler_guard.h"
#include "common/text_contrast.h"
#include "designer/dialog_preview_window.h"
#include "editor/script_editor_window.h"
#include "editor/script_memo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace FixedLayout;

QPointer<TForm5> Form5;

namespace {

constexpr QSize kClientSize(669, 671);
constexpr QRect kSheetGeometry(8, 8, 201, 297);
constexpr int kGenerateWidth = 161;
constexpr int kIdWidth = 161;

// The whole text of a text box, no-break spaces included (toPlainText() turns them into spaces).
QString wholeText(const QPlainTextEdit *box)
{
    QString text = box->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

DialogLines::Geometry geometryOf(const QLineEdit *x, const QLineEdit *y, const QLineEdit *width,
                                 const QLineEdit *height)
{
    return {x->text(), y->text(), width->text(), height->text()};
}

// The application's style with narrower space beside a tab's caption.
class NarrowTabsStyle : public QProxyStyle {
public:
    NarrowTabsStyle() : QProxyStyle(QApplication::style()->name()) { }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? qMin(size, 8) : size;
    }
};

// Shows every tab of a sheet in full without scroll arrows. Where the captions are wider than the
// sheet (a substitute face is wider than the layout's own), the space beside them narrows and then
// their face shrinks a little; only a face at its smallest still too wide shortens the captions.
void fitTabs(QTabWidget *sheets)
{
    sheets->setUsesScrollButtons(false);
    QTabBar *bar = sheets->tabBar();
    const auto tooWide = [&] { return bar->sizeHint().width() > sheets->width(); };
    if (!tooWide())
        return;
    auto *style = new NarrowTabsStyle;
    style->setParent(bar);
    bar->setStyle(style);
    QFont font = bar->font();
    constexpr int kSmallestFace = 9;
    while (tooWide() && font.pixelSize() > kSmallestFace) {
        font.setPixelSize(font.pixelSize() - 1);
        bar->setFont(font);
    }
    if (tooWide())
        bar->setElideMode(Qt::ElideRight);
}

} // namespace

TForm5::TForm5(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral(".:: Создание диалоговых окон ::."));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    setAutoFillBackground(true);

    buildFrame();
    buildCreationPanel();
    buildHeaderPage();
    buildButtonPage();
    buildRadioPage();
    buildComboPage();
    buildListPage();
    buildEditPage();
    buildLinkPage();
    buildTabPage();
    buildIconPage();
    buildCheckPage();
    buildScrollPage();
    buildTextPage();
    buildPanelPage();
    Q_ASSERT(Solo->count() == kPageCount);

    FormCreate();
    nameFieldsByCaptions(this);
    fitOnScreen();
    show();
}

void TForm5::fitOnScreen()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("DesignerPage"));
    page->setFixedSize(kClientSize);
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            child->setParent(page);
    }
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("DesignerScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(page);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    // The screen of the main window, where the command that opened the designer was given.
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), kClientSize);
    // The window system's frame is not known before the window shows: room is kept for a title bar
    // and borders of a usual size.
    const int titleBar = qMax(style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this), 24);
    const QMargins frame(4, titleBar + 4, 4, 4);
    const QSize room = available.size().shrunkBy(frame);
    QSize client = kClientSize.boundedTo(room);
    // A scroll bar along one side takes room the other way: the window grows by it where it can.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    if (client.height() < kClientSize.height())
        client.setWidth(qMin(kClientSize.width() + bar, room.width()));
    if (client.width() < kClientSize.width())
        client.setHeight(qMin(kClientSize.height() + bar, room.height()));
    setFixedSize(client);
    const QSize outer = client.grownBy(frame);
    move(available.left() + qMax(0, (available.width() - outer.width()) / 2),
         available.top() + qMax(0, (available.height() - outer.height()) / 2));
}

void TForm5::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
        event->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm5::buildFrame()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Код диалгового окна"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 16, 249, 425);
    Memo1 = new ScriptMemo(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 16, 233, 401);
    // The code holds any character: the script it goes into keeps what its encoding can.
    Memo1->loadPrepared(TextBuffer::prepareText(QByteArray(), ScriptEncoding::Utf8));
    QPalette codePalette = Memo1->palette();
    codePalette.setColor(QPalette::Base, codePalette.color(QPalette::Midlight));
    Memo1->setPalette(codePalette);

    GroupBox2 = new QGroupBox(QStringLiteral("Панель Создания"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(264, 8, 153, 433);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(424, 16, 233, 449);
    Solo = new QStackedWidget(this);
    Solo->setObjectName(QStringLiteral("Solo"));
    Solo->setGeometry(432, 24, 217, 433);

    Label3 = addLabel(this, QStringLiteral("Label3"),
                      QStringLiteral("ВНИМАНИЕ!!! ГДЕ СТОИТ ЗНАК * - ЭТО ЗНАЧИТ, "
                                     "ЧТО В ДАННОМ ОКНЕ НУЖНО ПИСАТЬ В КАВЫЧКАХ"),
                      QRect(16, 472, 0, 0));
    Label3->setFont(pixelFont(QStringLiteral("Arial"), 12, true));
    QPalette warningPalette = Label3->palette();
    // Red, as dark or as light as the window's background needs for the warning to read well.
    warningPalette.setColor(QPalette::WindowText,
                            TextContrast::readable(Qt::red, warningPalette.color(QPalette::Window)));
    Label3->setPalette(warningPalette);
    // A substitute face may be wider than the original: the warning may then take the rest of the row.
    Label3->setGeometry(16, 472, qBound(576, Label3->sizeHint().width(), kClientSize.width() - 16), 15);

    GroupBox3 = new QGroupBox(QStringLiteral("Исходный тескт компонентов"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(16, 496, 321, 169);
    Memo2 = new QPlainTextEdit(GroupBox3);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setGeometry(8, 16, 305, 145);
    Memo2->setReadOnly(true);
    Memo2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
    QPalette componentPalette = Memo2->palette();
    componentPalette.setColor(QPalette::Base, componentPalette.color(QPalette::Button));
    Memo2->setPalette(componentPalette);

    Button28 = addButton(this, QStringLiteral("Button28"), QStringLiteral("Вставить код в редактор"),
                         QRect(360, 496, 137, 25));
    onSignal(Button28, &QPushButton::clicked, this, [this] { Button28Click(); });
    Button29 = addButton(this, QStringLiteral("Button29"),
                         QStringLiteral("Вставить код из редактора  в редактор скриптов"), QRect(360, 528, 273, 25));
    onSignal(Button29, &QPushButton::clicked, this, [this] { Button29Click(); });
    PreviewButton = addButton(this, QStringLiteral("PreviewButton"), QStringLiteral("Предпросмотр диалога"),
                              QRect(360, 560, 137, 25));
    onSignal(PreviewButton, &QPushButton::clicked, this, [this] { PreviewButtonClick(); });
}

void TForm5::buildCreationPanel()
{
    struct PageSelect {
        QPushButton *TForm5::*button;
        QStringView name;
        QStringView caption;
        int page;
    };
    static constexpr PageSelect kButtons[] = {
        {&TForm5::Button18, u"Button18", u"Создать форму", 0},
        {&TForm5::Button1, u"Button1", u"Создать кнопку", 1},
        {&TForm5::Button2, u"Button2", u"Создать RadioButton", 2},
        {&TForm5::Button3, u"Button3", u"Создать Combo", 3},
        {&TForm5::Button4, u"Button4", u"Создать List", 4},
        {&TForm5::Button5, u"Button5", u"Создать Edit", 5},
        {&TForm5::Button6, u"Button6", u"Создать Линк", 6},
        {&TForm5::Button7, u"Button7", u"Создать Таблицу", 7},
        {&TForm5::Button8, u"Button8", u"Создать Scroll", 10},
        {&TForm5::Button9, u"Button9", u"Создать Обычный текст", 11},
        {&TForm5::Button10, u"Button10", u"Создать изображение", 8},
        {&TForm5::Button20, u"Button20", u"Создать Check Box", 9},
        {&TForm5::Button21, u"Button21", u"Создать Панель", 12},
    };
    int top = 16;
    for (const PageSelect &select : kButtons) {
        QPushButton *pageButton =
            addButton(GroupBox2, select.name.toString(), select.caption.toString(), QRect(8, top, 129, 25));
        this->*select.button = pageButton;
        const int page = select.page;
        onSignal(pageButton, &QPushButton::clicked, this, [this, page] { selectPage(page); });
        top += 32;
    }
}

TForm5::Page TForm5::addPage(const PageLayout &layout)
{
    auto *page = new QWidget(Solo);
    page->setObjectName(QStringLiteral("TabSheet%1").arg(Solo->count()));
    Solo->addWidget(page);

    Page parts{};
    parts.sheets = new QTabWidget(page);
    parts.sheets->setObjectName(layout.sheetName);
    parts.sheets->setGeometry(kSheetGeometry);
    for (const QString &caption : layout.tabCaptions) {
        auto *tab = new QWidget(parts.sheets);
        parts.sheets->addTab(tab, caption);
        parts.tabs.append(tab);
    }
    fitTabs(parts.sheets);
    parts.generate = addButton(page, layout.generateName, layout.generateCaption, layout.generateGeometry);
    onSignal(parts.generate, &QPushButton::clicked, this, [this, generate = layout.generate] { (this->*generate)(); });
    if (!layout.idName.isEmpty()) {
        parts.id = addLabelledEdit(page, layout.idName, QStringLiteral("Введите ID кнопки (обязательно)"),
                                   fieldAt(layout.idPosition.x(), layout.idPosition.y(), kIdWidth));
    }
    return parts;
}

void TForm5::addStyleBoxes(QWidget *tab, std::initializer_list<StyleBox> boxes)
{
    for (const StyleBox &wanted : boxes) {
        QCheckBox *box = addCheckBox(tab, QStringLiteral("CheckBox%1").arg(wanted.number), wanted.caption.toString(),
                                     QRect(wanted.x, wanted.y, 0, kCheckBoxHeight));
        m_styleBoxes[wanted.number] = box;
        const int slot = wanted.slot;
        const QString word = wanted.word.toString();
        onSignal(box, &QCheckBox::clicked, this, [this, box, slot, word] { styleBoxClick(box, slot, word); });
    }
}

void TForm5::addGeometryRow(QWidget *tab, std::array<QLineEdit **, 4> fields, const GeometryRow &row)
{
    addLabel(tab, row.captionName, QStringLiteral("XYWH:"), QRect(row.caption.x(), row.caption.y(), 0, 0));
    for (int i = 0; i < 4; ++i) {
        *fields[i] = addCoordinateEdit(tab, QStringLiteral("Edit%1").arg(row.firstNumber + i),
                                       QPoint(row.lefts[i], row.top), row.defaults.value(i));
    }
}

QCheckBox *TForm5::styleBox(int n) const
{
    return n >= 0 && n < int(m_styleBoxes.size()) ? m_styleBoxes[n] : nullptr;
}

void TForm5::buildHeaderPage()
{
    const Page page = addPage({QStringLiteral("PageControl1"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Параметры")},
                               QStringLiteral("Button11"),
                               QStringLiteral("Создать код Диалога"),
                               QRect(24, 312, 121, 25),
                               &TForm5::Button11Click});
    PageControl1 = page.sheets;
    Button11 = page.generate;

    QWidget *configuration = page.tabs[0];
    Edit1 = addLabelledEdit(configuration, QStringLiteral("Edit1"), QStringLiteral("Введите Заголовок Окна *"),
                            fieldAt(8, 16, 145));
    LabeledEdit1 = addLabelledEdit(configuration, QStringLiteral("LabeledEdit1"), QStringLiteral("Введите Имя Окна"),
                                   fieldAt(8, 64, 145));
    RadioButton1 = new QRadioButton(QStringLiteral("Использовать в стиле XP"), configuration);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(8, 96, 153, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Использовать в Стиле Win98"), configuration);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(8, 120, 177, 17);
    Label6 = addLabel(configuration, QStringLiteral("Label6"), QStringLiteral("Создать форму"), QRect(16, 160, 0, 0));
    Label6->setFont(pixelFont(QStringLiteral("Arial"), 16, true));
    Label6->adjustSize();

    QWidget *parameters = page.tabs[1];
    addLabel(parameters, QStringLiteral("Label4"), QStringLiteral("XYWH:"), QRect(8, 16, 0, 0));
    E2 = addCoordinateEdit(parameters, QStringLiteral("E2"), QPoint(48, 8), QStringLiteral("-1"));
    E3 = addCoordinateEdit(parameters, QStringLiteral("E3"), QPoint(80, 8), QStringLiteral("-1"));
    E4 = addCoordinateEdit(parameters, QStringLiteral("E4"), QPoint(112, 8), QStringLiteral("0"));
    Edit5 = addCoordinateEdit(parameters, QStringLiteral("Edit5"), QPoint(144, 8), QStringLiteral("0"));
    addLabel(parameters, QStringLiteral("Label5"), QStringLiteral("Загрузить иконку:"), QRect(8, 48, 0, 0));
    Edit6 = addEdit(parameters, QStringLiteral("Edit6"), fieldAt(8, 64, 169));
    Edit6->setReadOnly(true);
    Edit6->setEnabled(false);
    Button12 = addButton(parameters, QStringLiteral("Button12"), QStringLiteral("Загрузить"), QRect(8, 88, 75, 25));
    Button12->setEnabled(false);
    onSignal(Button12, &QPushButton::clicked, this, [this] { Button12Click(); });
    CheckBox63 = addCheckBox(parameters, QStringLiteral("CheckBox63"), QStringLiteral("Вкл. Выкл. Закгрузку иконоку"),
                             QRect(8, 120, 0, kCheckBoxHeight));
    onSignal(CheckBox63, &QCheckBox::clicked, this, [this] { CheckBox63Click(); });
}

void TForm5::buildButtonPage()
{
    const Page page = addPage({QStringLiteral("PageControl2"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Параметры")},
                               QStringLiteral("Button13"),
                               QStringLiteral("Добавить код кнопки"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button13Click,
                               QStringLiteral("Id1"),
                               QPoint(16, 360)});
    PageControl2 = page.sheets;
    Button13 = page.generate;
    Id1 = page.id;

    QWidget *configuration = page.tabs[0];
    Edit7 = addLabelledEdit(configuration, QStringLiteral("Edit7"), QStringLiteral("Введите Заголовок кнопки *"),
                            fieldAt(8, 24, 161));
    Edit8 = addLabelledEdit(configuration, QStringLiteral("Edit8"), QStringLiteral("Введите Имя Кнопки"),
                            fieldAt(8, 64, 161));
    addStyleBoxes(configuration,
                  {{1, u"Недоступна", 1, u"disable", 8, 96},
                   {2, u"Мод Result", 2, u"result", 8, 120},
                   {3, u"Мод Group", 3, u"group", 8, 144},
                   {4, u"Мод Hide", 4, u"hide", 8, 168}});

    QWidget *parameters = page.tabs[1];
    addLabel(parameters, QStringLiteral("Label2"), QStringLiteral("Тип кнопки:"), QRect(8, 8, 0, 0));
    ComboBox2 =
        addPickList(parameters, QStringLiteral("ComboBox2"),
                    {QStringLiteral("ok"), QStringLiteral("cancel"), QStringLiteral("ok cancel")}, fieldAt(8, 24, 145));
    addGeometryRow(
        parameters, {&Edit9, &Edit10, &Edit11, &Edit12},
        {.firstNumber = 9,
         .lefts = {40, 72, 104, 136},
         .top = 56,
         .caption = {0, 64},
         .captionName = QStringLiteral("Label1"),
         .defaults = {QStringLiteral("25"), QStringLiteral("25"), QStringLiteral("37"), QStringLiteral("12")}});
    addStyleBoxes(parameters,
                  {{5, u"Встроенная Кнопка", 5, u"default", 0, 96}, {6, u"Плоская кнопка", 6, u"flat", 0, 120}});
}

void TForm5::buildRadioPage()
{
    const Page page = addPage({QStringLiteral("PageControl3"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Параметры")},
                               QStringLiteral("Button14"),
                               QStringLiteral("Создать код РадиоКнопки"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button14Click,
                               QStringLiteral("LabeledEdit16"),
                               QPoint(16, 360)});
    PageControl3 = page.sheets;
    Button14 = page.generate;
    LabeledEdit16 = page.id;

    QWidget *configuration = page.tabs[0];
    RadioEdit = addLabelledEdit(configuration, QStringLiteral("RadioEdit"),
                                QStringLiteral("Ппишите заголовок радиокнопки *"), fieldAt(8, 16, 153));
    addLabel(configuration, QStringLiteral("Label7"), QStringLiteral("Тип"), QRect(8, 48, 0, 0));
    ComboBox1 = addPickList(configuration, QStringLiteral("ComboBox1"), {QStringLiteral("Push")}, fieldAt(8, 64, 145));
    addLabel(configuration, QStringLiteral("Label8"), QStringLiteral("Выровнить:"), QRect(8, 96, 0, 0));
    ComboBox3 = addPickList(configuration, QStringLiteral("ComboBox3"),
                            {QStringLiteral("Left"), QStringLiteral("Right")}, fieldAt(8, 112, 145));
    rnEdit = addLabelledEdit(configuration, QStringLiteral("rnEdit"), QStringLiteral("Ппишите имя RadioButton"),
                             fieldAt(8, 160, 153));

    QWidget *parameters = page.tabs[1];
    addGeometryRow(parameters, {&Edit13, &Edit14, &Edit15, &Edit16},
                   {.firstNumber = 13, .top = 8, .caption = {0, 16}, .captionName = QStringLiteral("Label9")});
    addStyleBoxes(parameters,
                  {{7, u"Мод - Disable", 1, u"disable", 8, 48},
                   {8, u"Мод - Result", 2, u"result", 8, 72},
                   {9, u"Мод - Group", 3, u"group", 8, 96},
                   {10, u"Мод - Hide", 4, u"hide", 8, 120}});
    addLabel(parameters, QStringLiteral("Label10"), QStringLiteral("Свойство:"), QRect(8, 152, 0, 0));
    addStyleBoxes(parameters, {{11, u"Плоская кнопка", 5, u"flat", 8, 176}});
}

void TForm5::buildComboPage()
{
    const Page page = addPage({QStringLiteral("PageControl5"),
                               {QStringLiteral("Конфигурации и Параметры"), QStringLiteral("Свойства")},
                               QStringLiteral("Button15"),
                               QStringLiteral("Создать код Combo"),
                               QRect(16, 304, kGenerateWidth, 25),
                               &TForm5::Button15Click,
                               QStringLiteral("LabeledEdit11"),
                               QPoint(24, 360)});
    PageControl5 = page.sheets;
    Button15 = page.generate;
    LabeledEdit11 = page.id;

    QWidget *configuration = page.tabs[0];
    addLabel(configuration, QStringLiteral("Label11"), QStringLiteral("Тип:"), QRect(8, 8, 0, 0));
    ComboBox4 = addPickList(configuration, QStringLiteral("ComboBox4"),
                            {QStringLiteral("size"), QStringLiteral("size drop")}, fieldAt(8, 24, 145));
    addGeometryRow(configuration, {&Edit17, &Edit18, &Edit19, &Edit20},
                   {.firstNumber = 17, .top = 48, .caption = {8, 56}, .captionName = QStringLiteral("Label12")});
    addStyleBoxes(configuration,
                  {{12, u"Недоступна", 1, u"disable", 8, 96},
                   {13, u"Мод Result", 2, u"result", 8, 120},
                   {14, u"Мод Group", 3, u"group", 8, 144},
                   {15, u"Мод Hide", 4, u"hide", 8, 168}});
    addLabel(configuration, QStringLiteral("Label13"), QStringLiteral("Имя:"), QRect(8, 192, 0, 0));
    Edit21 = addEdit(configuration, QStringLiteral("Edit21"), fieldAt(8, 208, 121));

    // The box captioned as the vertical bar writes "hsbar" and the horizontal one "vsbar".
    addStyleBoxes(
        page.tabs[1],
        {{16, u"Верт. Полоса прокрутки", 5, u"hsbar", 8, 8}, {17, u"Горизонт. Полоса прокрутки", 6, u"vsbar", 8, 32}});
}

void TForm5::buildListPage()
{
    const Page page = addPage({QStringLiteral("PageControl4"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Свойства")},
                               QStringLiteral("Button16"),
                               QStringLiteral("Создать код Листа"),
                               QRect(8, 312, kGenerateWidth, 25),
                               &TForm5::Button16Click,
                               QStringLiteral("LabeledEdit6"),
                               QPoint(24, 360)});
    PageControl4 = page.sheets;
    Button16 = page.generate;
    LabeledEdit6 = page.id;

    QWidget *configuration = page.tabs[0];
    ListName = addLabelledEdit(configuration, QStringLiteral("ListName"), QStringLiteral("Введите имя List"),
                               fieldAt(8, 16, 145));
    addGeometryRow(configuration, {&Edit22, &Edit23, &Edit24, &Edit25},
                   {.firstNumber = 22,
                    .lefts = {40, 72, 104, 136},
                    .top = 48,
                    .caption = {0, 56},
                    .captionName = QStringLiteral("Label14")});
    addStyleBoxes(configuration,
                  {{21, u"Недоступна", 1, u"disable", 8, 96},
                   {20, u"Мод Result", 2, u"result", 8, 120},
                   {19, u"Мод Group", 3, u"group", 8, 144},
                   {18, u"Мод Hide", 4, u"hide", 8, 168}});

    addStyleBoxes(page.tabs[1],
                  {{22, u"Мод Sorted", 5, u"sort", 0, 8},
                   {23, u"Доб. верт. полосу прокрутки", 6, u"vsbar", 0, 32},
                   {24, u"Доб. гориз. полосу прокрутки", 7, u"hsbar", 0, 56}});
}

void TForm5::buildEditPage()
{
    const Page page = addPage({QStringLiteral("PageControl6"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Свойства")},
                               QStringLiteral("Button17"),
                               QStringLiteral("Создать код редакторра"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button17Click,
                               QStringLiteral("LabeledEdit7"),
                               QPoint(16, 360)});
    PageControl6 = page.sheets;
    Button17 = page.generate;
    LabeledEdit7 = page.id;

    QWidget *configuration = page.tabs[0];
    EdEdit = addLabelledEdit(configuration, QStringLiteral("EdEdit"), QStringLiteral("Введите Заголовок Редактора *"),
                             fieldAt(8, 16, 153));
    LabeledEdit2 = addLabelledEdit(configuration, QStringLiteral("LabeledEdit2"),
                                   QStringLiteral("Введите Имя Редактора"), fieldAt(8, 56, 153));
    addStyleBoxes(configuration,
                  {{28, u"Недоступна", 1, u"disable", 8, 88},
                   {27, u"Мод Result", 2, u"result", 8, 112},
                   {26, u"Мод Group", 3, u"group", 8, 136},
                   {25, u"Мод Hide", 4, u"hide", 8, 160}});
    addGeometryRow(configuration, {&Edit26, &Edit27, &Edit28, &Edit29},
                   {.firstNumber = 26, .top = 184, .caption = {8, 192}});

    // The automatic-scrolling boxes pair the vertical caption with "autohs", the horizontal one with
    // "autovs"; the scroll-bar boxes pair them the other way.
    QWidget *properties = page.tabs[1];
    addStyleBoxes(properties,
                  {{29, u"Только для чтения", 5, u"read", 8, 8},
                   {30, u"Ввод Пароля", 6, u"pass", 8, 28},
                   {31, u"Мульти Текст", 7, u"multi", 8, 48},
                   {32, u"Автоматическая Верт. Прок.", 8, u"autohs", 8, 68},
                   {33, u"Автоматическая Гориз. Прок.", 9, u"autovs", 8, 88},
                   {34, u"Доб. Верт. прокрутку", 10, u"vsbar", 8, 108},
                   {35, u"Доб. Горизонт. прокрутку", 11, u"hsbar", 8, 128}});
    LimEdit =
        addLabelledEdit(properties, QStringLiteral("LimEdit"), QStringLiteral("Лимит чисел"), fieldAt(8, 172, 145));
    CheckBox64 = addCheckBox(properties, QStringLiteral("CheckBox64"), QStringLiteral("Вкл. Выкл. Лимит чисел"),
                             QRect(8, 204, 0, kCheckBoxHeight));
    CheckBox64->setChecked(true);
    onSignal(CheckBox64, &QCheckBox::clicked, this, [this] { CheckBox64Click(); });
}

void TForm5::buildLinkPage()
{
    const Page page = addPage({QStringLiteral("PageControl7"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Свойства")},
                               QStringLiteral("Button19"),
                               QStringLiteral("Создать код линка"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button19Click,
                               QStringLiteral("LabeledEdit12"),
                               QPoint(16, 360)});
    PageControl7 = page.sheets;
    Button19 = page.generate;
    LabeledEdit12 = page.id;

    QWidget *configuration = page.tabs[0];
    LinkEdit = addLabelledEdit(configuration, QStringLiteral("LinkEdit"), QStringLiteral("Введите Заголовок Линка *"),
                               fieldAt(8, 16, 153));
    NameLink = addLabelledEdit(configuration, QStringLiteral("NameLink"), QStringLiteral("Введите Имя Линка"),
                               fieldAt(8, 56, 153));
    addStyleBoxes(configuration,
                  {{39, u"Недоступна", 1, u"disable", 8, 88},
                   {38, u"Мод Result", 2, u"result", 8, 112},
                   {37, u"Мод Group", 3, u"group", 8, 136},
                   {36, u"Мод Hide", 4, u"hide", 8, 160}});
    addGeometryRow(configuration, {&Edit30, &Edit31, &Edit32, &Edit33},
                   {.firstNumber = 30, .top = 184, .caption = {8, 192}});

    // Laid out but without a handler: nothing reads it.
    CheckBox40 = addCheckBox(page.tabs[1], QStringLiteral("CheckBox40"), QStringLiteral("Авто - ширина фута"),
                             QRect(8, 8, 0, kCheckBoxHeight));
}

void TForm5::buildTabPage()
{
    const Page page = addPage({QStringLiteral("PageControl8"),
                               {QStringLiteral("Конфигурации")},
                               QStringLiteral("Button22"),
                               QStringLiteral("Создать код таблицы"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button22Click,
                               QStringLiteral("LabeledEdit8"),
                               QPoint(16, 360)});
    PageControl8 = page.sheets;
    Button22 = page.generate;
    LabeledEdit8 = page.id;

    QWidget *configuration = page.tabs[0];
    addGeometryRow(configuration, {&Edit34, &Edit35, &Edit36, &Edit37},
                   {.firstNumber = 34, .top = 8, .caption = {8, 16}});
    addStyleBoxes(configuration,
                  {{44, u"Недоступна", 1, u"disable", 8, 40},
                   {43, u"Мод Result", 2, u"result", 8, 64},
                   {42, u"Мод Group", 3, u"group", 8, 88},
                   {41, u"Мод Hide", 4, u"hide", 8, 112}});
    addLabel(configuration, {}, QStringLiteral("Заголовок *"), QRect(8, 144, 0, 0));
    Edit2 = addEdit(configuration, QStringLiteral("Edit2"), fieldAt(8, 160, 145));
}

void TForm5::buildIconPage()
{
    const Page page = addPage({QStringLiteral("PageControl9"),
                               {QStringLiteral("Конфигурации и свойства")},
                               QStringLiteral("Button23"),
                               QStringLiteral("Создать код изображение"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button23Click,
                               QStringLiteral("LabeledEdit13"),
                               QPoint(16, 360)});
    PageControl9 = page.sheets;
    Button23 = page.generate;
    LabeledEdit13 = page.id;

    QWidget *configuration = page.tabs[0];
    SpeedButton1 = addButton(configuration, QStringLiteral("SpeedButton1"), QStringLiteral("Загрузить иконку"),
                             QRect(8, 8, 121, 25));
    SpeedButton1->setEnabled(false);
    onSignal(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    Edit38 = addEdit(configuration, QStringLiteral("Edit38"), fieldAt(8, 40, 177));
    Edit38->setReadOnly(true);
    CheckBox45 = addCheckBox(configuration, QStringLiteral("CheckBox45"), QStringLiteral("Вкл. Выкл. Запись иконки"),
                             QRect(8, 72, 0, kCheckBoxHeight));
    onSignal(CheckBox45, &QCheckBox::clicked, this, [this] { CheckBox45Click(); });
    addLabel(configuration, {}, QStringLiteral("Выровнить"), QRect(8, 104, 0, 0));
    ComboBox5 = addPickList(configuration, QStringLiteral("ComboBox5"),
                            {QString(), QStringLiteral("center"), QStringLiteral("left"), QStringLiteral("right"),
                             QStringLiteral("top"), QStringLiteral("bottom")},
                            fieldAt(8, 120, 145));
    addGeometryRow(configuration, {&Edit43, &Edit44, &Edit45, &Edit46},
                   {.firstNumber = 43, .top = 152, .caption = {8, 160}});
}

void TForm5::buildCheckPage()
{
    const Page page = addPage({QStringLiteral("PageControl10"),
                               {QStringLiteral("Конфигурации"), QStringLiteral("Свойства")},
                               QStringLiteral("Button24"),
                               QStringLiteral("Добавить Код Check Box"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button24Click,
                               QStringLiteral("LabeledEdit9"),
                               QPoint(16, 360)});
    PageControl10 = page.sheets;
    Button24 = page.generate;
    LabeledEdit9 = page.id;

    QWidget *configuration = page.tabs[0];
    CheckEdit = addLabelledEdit(configuration, QStringLiteral("CheckEdit"),
                                QStringLiteral("Введите Заколовок Check Box"), fieldAt(8, 16, 153));
    addGeometryRow(configuration, {&Edit39, &Edit40, &Edit41, &Edit42},
                   {.firstNumber = 39, .top = 44, .caption = {8, 52}});
    addLabel(configuration, {}, QStringLiteral("Тип:"), QRect(8, 72, 0, 0));
    ComboBox6 = addPickList(configuration, QStringLiteral("ComboBox6"),
                            {QStringLiteral("standart"), QStringLiteral("push")}, fieldAt(8, 88, 145));
    addLabel(configuration, {}, QStringLiteral("Выровнить:"), QRect(8, 114, 0, 0));
    ComboBox7 = addPickList(configuration, QStringLiteral("ComboBox7"),
                            {QString(), QStringLiteral("left"), QStringLiteral("right")}, fieldAt(8, 130, 145));
    addStyleBoxes(configuration,
                  {{49, u"Недоступна", 1, u"disable", 8, 160},
                   {48, u"Мод Result", 2, u"result", 104, 160},
                   {47, u"Мод Group", 3, u"group", 8, 180},
                   {46, u"Мод Hide", 4, u"hide", 104, 180}});
    CheckNEdit = addLabelledEdit(configuration, QStringLiteral("CheckNEdit"), QStringLiteral("Введите имя Check Box"),
                                 fieldAt(8, 220, 153));

    addStyleBoxes(page.tabs[1], {{50, u"Мод: Flat", 5, u"flat", 8, 8}});
}

void TForm5::buildScrollPage()
{
    const Page page = addPage({QStringLiteral("PageControl11"),
                               {QStringLiteral("Конфигурации")},
                               QStringLiteral("Button25"),
                               QStringLiteral("Добавить код Scroll"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button25Click,
                               QStringLiteral("LabeledEdit14"),
                               QPoint(16, 360)});
    PageControl11 = page.sheets;
    Button25 = page.generate;
    LabeledEdit14 = page.id;

    QWidget *configuration = page.tabs[0];
    ScrollEdit = addLabelledEdit(configuration, QStringLiteral("ScrollEdit"),
                                 QStringLiteral("Введите Заколовок Scroll *"), fieldAt(8, 16, 153));
    addGeometryRow(configuration, {&Edit47, &Edit48, &Edit49, &Edit50},
                   {.firstNumber = 47, .top = 44, .caption = {8, 52}});
    addLabel(configuration, {}, QStringLiteral("Тип"), QRect(8, 72, 0, 0));
    ComboBox9 = addPickList(configuration, QStringLiteral("ComboBox9"),
                            {QStringLiteral("vertical"), QStringLiteral("horizontal")}, fieldAt(8, 88, 145));
    addLabel(configuration, {}, QStringLiteral("Выровнить"), QRect(8, 114, 0, 0));
    ComboBox8 = addPickList(
        configuration, QStringLiteral("ComboBox8"),
        {QString(), QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("top"), QStringLiteral("bottom")},
        fieldAt(8, 130, 145));
    addStyleBoxes(configuration,
                  {{54, u"Недоступна", 1, u"disable", 8, 160},
                   {53, u"Мод Result", 2, u"result", 104, 160},
                   {52, u"Мод Group", 3, u"group", 8, 180},
                   {51, u"Мод Hide", 4, u"hide", 104, 180}});
    ScrollName = addLabelledEdit(configuration, QStringLiteral("ScrollName"), QStringLiteral("Введите имя Scroll"),
                                 fieldAt(8, 220, 153));
}

void TForm5::buildTextPage()
{
    const Page page = addPage({QStringLiteral("PageControl12"),
                               {QStringLiteral("Конфигурации")},
                               QStringLiteral("Button26"),
                               QStringLiteral("Создать код Текста"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button26Click,
                               QStringLiteral("LabeledEdit10"),
                               QPoint(16, 360)});
    PageControl12 = page.sheets;
    Button26 = page.generate;
    LabeledEdit10 = page.id;

    QWidget *configuration = page.tabs[0];
    LabelEdit = addLabelledEdit(configuration, QStringLiteral("LabelEdit"), QStringLiteral("Введите Заколовок Текста"),
                                fieldAt(8, 16, 153));
    addGeometryRow(configuration, {&Edit51, &Edit52, &Edit53, &Edit54},
                   {.firstNumber = 51, .top = 44, .caption = {8, 52}});
    addLabel(configuration, {}, QStringLiteral("Выровнить"), QRect(8, 72, 0, 0));
    ComboBox10 =
        addPickList(configuration, QStringLiteral("ComboBox10"),
                    {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center")}, fieldAt(8, 88, 145));
    addStyleBoxes(configuration,
                  {{58, u"Недоступна", 1, u"disable", 8, 120},
                   {57, u"Мод Result", 2, u"result", 8, 144},
                   {56, u"Мод Group", 3, u"group", 8, 168},
                   {55, u"Мод Hide", 4, u"hide", 8, 192}});
    LabeledEdit3 = addLabelledEdit(configuration, QStringLiteral("LabeledEdit3"),
                                   QStringLiteral("Введите имя Обычного текста"), fieldAt(8, 232, 153));
}

void TForm5::buildPanelPage()
{
    const Page page = addPage({QStringLiteral("PageControl13"),
                               {QStringLiteral("Конфигурации")},
                               QStringLiteral("Button27"),
                               QStringLiteral("Добавить код Панели"),
                               QRect(16, 312, kGenerateWidth, 25),
                               &TForm5::Button27Click,
                               QStringLiteral("LabeledEdit15"),
                               QPoint(16, 360)});
    PageControl13 = page.sheets;
    Button27 = page.generate;
    LabeledEdit15 = page.id;

    QWidget *configuration = page.tabs[0];
    LabeledEdit4 = addLabelledEdit(configuration, QStringLiteral("LabeledEdit4"),
                                   QStringLiteral("Введите Заколовок Панели *"), fieldAt(8, 16, 153));
    addGeometryRow(configuration, {&Edit55, &Edit56, &Edit57, &Edit58},
                   {.firstNumber = 55, .top = 44, .caption = {8, 52}});
    addStyleBoxes(configuration,
                  {{59, u"Недоступна", 1, u"disable", 8, 80},
                   {60, u"Мод Result", 2, u"result", 8, 104},
                   {61, u"Мод Group", 3, u"group", 8, 128},
                   {62, u"Мод Hide", 4, u"hide", 8, 152}});
    LabeledEdit5 = addLabelledEdit(configuration, QStringLiteral("LabeledEdit5"), QStringLiteral("Введите имя Панели"),
                                   fieldAt(8, 192, 153));
}

void TForm5::FormCreate()
{
    Solo->setCurrentIndex(0);
}

void TForm5::selectPage(int page)
{
    Solo->setCurrentIndex(page);
    if (Form6)
        Form6->clearSlots();
}

void TForm5::styleBoxClick(QCheckBox *box, int slot, const QString &word)
{
    if (Form6)
        Form6->setSlot(slot, box->isChecked() ? word : QString());
}

DialogLines::SlotWords TForm5::slotWords() const
{
    DialogLines::SlotWords words;
    if (Form6) {
        for (int n = 1; n <= int(words.size()); ++n)
            words[n - 1] = Form6->slot(n);
    }
    return words;
}

void TForm5::showComponentText(const QString &text)
{
    // The text as the current script will hold it: in Windows-1251 a character it lacks shows as "?".
    Memo2->setPlainText(FieldText::held(text, FieldText::scriptRepertoire()));
}

void TForm5::Button11Click()
{
    const QStringList lines = DialogLines::headerLines({.title = Edit1->text(),
                                                        .size = geometryOf(E2, E3, E4, Edit5),
                                                        .win98Style = RadioButton2->isChecked(),
                                                        .withIcon = CheckBox63->isChecked(),
                                                        .iconFile = Edit6->text()});
    showComponentText(lines.join(QLatin1Char('\n')));
}

void TForm5::Button13Click()
{
    showComponentText(DialogLines::buttonLine({.text = Edit7->text(),
                                               .id = Id1->text(),
                                               .geometry = geometryOf(Edit9, Edit10, Edit11, Edit12),
                                               .slotWords = slotWords(),
                                               .type = ComboBox2->currentText()}));
}

void TForm5::Button14Click()
{
    showComponentText(DialogLines::radioLine({.text = RadioEdit->text(),
                                              .id = LabeledEdit16->text(),
                                              .geometry = geometryOf(Edit13, Edit14, Edit15, Edit16),
                                              .slotWords = slotWords(),
                                              .type = ComboBox1->currentText(),
                                              .alignment = ComboBox3->currentText()}));
}

void TForm5::Button15Click()
{
    showComponentText(DialogLines::comboLine({.id = LabeledEdit11->text(),
                                              .geometry = geometryOf(Edit17, Edit18, Edit19, Edit20),
                                              .slotWords = slotWords(),
                                              .type = ComboBox4->currentText()}));
}

void TForm5::Button16Click()
{
    showComponentText(DialogLines::listLine({.id = LabeledEdit6->text(),
                                             .geometry = geometryOf(Edit22, Edit23, Edit24, Edit25),
                                             .slotWords = slotWords()}));
}

void TForm5::Button17Click()
{
    showComponentText(DialogLines::editLine({.text = EdEdit->text(),
                                             .id = LabeledEdit7->text(),
                                             .geometry = geometryOf(Edit26, Edit27, Edit28, Edit29),
                                             .withLimit = CheckBox64->isChecked(),
                                             .limit = LimEdit->text(),
                                             .slotWords = slotWords()}));
}

void TForm5::Button19Click()
{
    showComponentText(DialogLines::linkLine({.text = LinkEdit->text(),
                                             .id = LabeledEdit12->text(),
                                             .geometry = geometryOf(Edit30, Edit31, Edit32, Edit33),
                                             .slotWords = slotWords()}));
}

void TForm5::Button22Click()
{
    showComponentText(DialogLines::tabLine({.title = Edit2->text(),
                                            .id = LabeledEdit8->text(),
                                            .geometry = geometryOf(Edit34, Edit35, Edit36, Edit37),
                                            .slotWords = slotWords()}));
}

void TForm5::Button23Click()
{
    showComponentText(DialogLines::iconLine(
        {.id = LabeledEdit13->text(), .geometry = geometryOf(Edit43, Edit44, Edit45, Edit46), .file = Edit38->text()}));
}

void TForm5::Button24Click()
{
    showComponentText(DialogLines::checkLine({.text = CheckEdit->text(),
                                              .id = LabeledEdit9->text(),
                                              .geometry = geometryOf(Edit39, Edit40, Edit41, Edit42),
                                              .type = ComboBox6->currentText(),
                                              .alignment = ComboBox7->currentText(),
                                              .slotWords = slotWords()}));
}

void TForm5::Button25Click()
{
    showComponentText(DialogLines::scrollLine({.text = ScrollEdit->text(),
                                               .id = LabeledEdit14->text(),
                                               .geometry = geometryOf(Edit47, Edit48, Edit49, Edit50),
                                               .orientation = ComboBox9->currentText(),
                                               .alignment = ComboBox8->currentText(),
                                               .slotWords = slotWords()}));
}

void TForm5::Button26Click()
{
    showComponentText(DialogLines::textLine({.text = LabelEdit->text(),
                                             .id = LabeledEdit10->text(),
                                             .geometry = geometryOf(Edit51, Edit52, Edit53, Edit54),
                                             .alignment = ComboBox10->currentText(),
                                             .slotWords = slotWords()}));
}

void TForm5::Button27Click()
{
    showComponentText(DialogLines::panelLine({.text = LabeledEdit4->text(),
                                              .id = LabeledEdit15->text(),
                                              .geometry = geometryOf(Edit55, Edit56, Edit57, Edit58),
                                              .slotWords = slotWords()}));
}

void TForm5::CheckBox63Click()
{
    const bool on = CheckBox63->isChecked();
    Edit6->setEnabled(on);
    Button12->setEnabled(on);
}

void TForm5::CheckBox64Click()
{
    LimEdit->setEnabled(CheckBox64->isChecked());
}

void TForm5::CheckBox45Click()
{
    SpeedButton1->setEnabled(CheckBox45->isChecked());
}

void TForm5::choosePicture(QLineEdit *target)
{
    Dialogs::FileRequest request;
    request.kind = Dialogs::FileRequest::Kind::OpenPicture;
    request.parent = this;
    const Dialogs::FileAnswer answer = Dialogs::chooseFile(request);
    if (answer.accepted)
        target->setText(QDir::toNativeSeparators(answer.fileName));
}

void TForm5::Button12Click()
{
    choosePicture(Edit6);
}

void TForm5::SpeedButton1Click()
{
    choosePicture(Edit38);
}

void TForm5::Button28Click()
{
    Memo1->appendAsLine(wholeText(Memo2));
}

void TForm5::Button29Click()
{
    // The editor's text control is the focus proxy of its window, so an existing editor always
    // has an active control: the only case to refuse is that there is no current editor.
    if (!Form2)
        return;
    Form2->Memo1->appendAsLine(Memo1->wholeText());
}

void TForm5::PreviewButtonClick()
{
    showDialogPreview(Memo1, this)->followDesignerCode(Memo2);
}
