#pragma once

#include "designer/dialog_lines.h"

#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <array>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class ScriptMemo;

// The dialog designer: one page per piece of an mIRC dialog table, whose generate buttons build
// text into the component box Memo2, from where it goes to the code memo Memo1 and on to the
// current script editor. Style words travel through the shared slots of the catalogue window.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    // Shows itself at once, stays on top and frees itself when closed.
    explicit TForm5(QWidget *parent = nullptr);

    static constexpr int kPageCount = 13;

    // Frame.
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    ScriptMemo *Memo1;
    QPlainTextEdit *Memo2;
    QStackedWidget *Solo;
    QLabel *Label3;
    QFrame *Bevel1;
    QPushButton *Button28, *Button29;
    QPushButton *PreviewButton; // "Предпросмотр диалога": the code memo's table shown as mIRC would
    // The creation panel's page-select buttons, top to bottom.
    QPushButton *Button18, *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7;
    QPushButton *Button8, *Button9, *Button10, *Button20, *Button21;

    // Page 0, dialog header.
    QTabWidget *PageControl1;
    QLineEdit *Edit1, *LabeledEdit1;
    QRadioButton *RadioButton1, *RadioButton2;
    QLabel *Label6;
    QLineEdit *E2, *E3, *E4, *Edit5, *Edit6;
    QPushButton *Button12, *Button11;
    QCheckBox *CheckBox63;

    // Page 1, button.
    QTabWidget *PageControl2;
    QLineEdit *Edit7, *Edit8;
    QComboBox *ComboBox2;
    QLineEdit *Edit9, *Edit10, *Edit11, *Edit12;
    QPushButton *Button13;
    QLineEdit *Id1;

    // Page 2, radio button.
    QTabWidget *PageControl3;
    QLineEdit *RadioEdit, *rnEdit;
    QComboBox *ComboBox1, *ComboBox3;
    QLineEdit *Edit13, *Edit14, *Edit15, *Edit16;
    QPushButton *Button14;
    QLineEdit *LabeledEdit16;

    // Page 3, combo box.
    QTabWidget *PageControl5;
    QComboBox *ComboBox4;
    QLineEdit *Edit17, *Edit18, *Edit19, *Edit20, *Edit21;
    QPushButton *Button15;
    QLineEdit *LabeledEdit11;

    // Page 4, list box.
    QTabWidget *PageControl4;
    QLineEdit *ListName;
    QLineEdit *Edit22, *Edit23, *Edit24, *Edit25;
    QPushButton *Button16;
    QLineEdit *LabeledEdit6;

    // Page 5, edit box.
    QTabWidget *PageControl6;
    QLineEdit *EdEdit, *LabeledEdit2;
    QLineEdit *Edit26, *Edit27, *Edit28, *Edit29;
    QLineEdit *LimEdit;
    QCheckBox *CheckBox64;
    QPushButton *Button17;
    QLineEdit *LabeledEdit7;

    // Page 6, link.
    QTabWidget *PageControl7;
    QLineEdit *LinkEdit, *NameLink;
    QLineEdit *Edit30, *Edit31, *Edit32, *Edit33;
    QCheckBox *CheckBox40;
    QPushButton *Button19;
    QLineEdit *LabeledEdit12;

    // Page 7, tab.
    QTabWidget *PageControl8;
    QLineEdit *Edit34, *Edit35, *Edit36, *Edit37;
    QLineEdit *Edit2;
    QPushButton *Button22;
    QLineEdit *LabeledEdit8;

    // Page 8, icon.
    QTabWidget *PageControl9;
    QPushButton *SpeedButton1;
    QLineEdit *Edit38;
    QCheckBox *CheckBox45;
    QComboBox *ComboBox5;
    QLineEdit *Edit43, *Edit44, *Edit45, *Edit46;
    QPushButton *Button23;
    QLineEdit *LabeledEdit13;

    // Page 9, check box.
    QTabWidget *PageControl10;
    QLineEdit *CheckEdit, *CheckNEdit;
    QLineEdit *Edit39, *Edit40, *Edit41, *Edit42;
    QComboBox *ComboBox6, *ComboBox7;
    QPushButton *Button24;
    QLineEdit *LabeledEdit9;

    // Page 10, scroll bar.
    QTabWidget *PageControl11;
    QLineEdit *ScrollEdit, *ScrollName;
    QLineEdit *Edit47, *Edit48, *Edit49, *Edit50;
    QComboBox *ComboBox9, *ComboBox8;
    QPushButton *Button25;
    QLineEdit *LabeledEdit14;

    // Page 11, plain text.
    QTabWidget *PageControl12;
    QLineEdit *LabelEdit, *LabeledEdit3;
    QLineEdit *Edit51, *Edit52, *Edit53, *Edit54;
    QComboBox *ComboBox10;
    QPushButton *Button26;
    QLineEdit *LabeledEdit10;

    // Page 12, panel.
    QTabWidget *PageControl13;
    QLineEdit *LabeledEdit4, *LabeledEdit5;
    QLineEdit *Edit55, *Edit56, *Edit57, *Edit58;
    QPushButton *Button27;
    QLineEdit *LabeledEdit15;

    // The check box CheckBoxn that writes a style-word slot, or nullptr when n names none.
    QCheckBox *styleBox(int n) const;

    void FormCreate();
    // Every page-select button: shows its page, then clears style-word slots 1 to 12.
    void selectPage(int page);
    // Every style check box: a tick puts its word into its slot, an untick clears the slot.
    void styleBoxClick(QCheckBox *box, int slot, const QString &word);

    // Generate buttons.
    void Button11Click(); // header page: the dialog line, title, size and option
    void Button13Click(); // button page
    void Button14Click(); // radio page
    void Button15Click(); // combo page
    void Button16Click(); // list page
    void Button17Click(); // edit page
    void Button19Click(); // link page
    void Button22Click(); // tab page
    void Button23Click(); // icon page
    void Button24Click(); // check box page
    void Button25Click(); // scroll page
    void Button26Click(); // text page
    void Button27Click(); // panel page

    // Check boxes that only switch other controls on and off, and the picture buttons.
    void CheckBox63Click(); // header page: the icon fields on or off
    void CheckBox64Click(); // edit page: the limit field on or off
    void CheckBox45Click(); // icon page: the picture field on or off
    void Button12Click(); // header page: picks the dialog's icon file
    void SpeedButton1Click(); // icon page: picks the picture file

    // Transfers: component text to the code memo, code memo to the current editor.
    void Button28Click(); // "Вставить код в редактор": Memo2 onto the code memo
    void Button29Click(); // code memo appended to the current script editor
    void PreviewButtonClick();

protected:
    // Escape closes the designer, as the close box does.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Puts the fixed layout on a page of its own that scrolls where the screen is smaller than the
    // window, and places the window wholly on the screen, centred where there is room.
    void fitOnScreen();

    // What one page of Solo holds besides its own fields.
    struct PageLayout {
        QString sheetName;
        QStringList tabCaptions;
        QString generateName;
        QString generateCaption;
        QRect generateGeometry;
        void (TForm5::*generate)();
        QString idName = {}; // empty: the page has no id field
        QPoint idPosition = {};
    };
    struct Page {
        QTabWidget *sheets;
        QList<QWidget *> tabs;
        QPushButton *generate;
        QLineEdit *id;
    };
    // A check box of the slot table: CheckBox<number>, writing word into slot.
    struct StyleBox {
        int number;
        QStringView caption;
        int slot;
        QStringView word;
        int x, y;
    };

    void buildFrame();
    void buildCreationPanel();
    Page addPage(const PageLayout &layout);
    void addStyleBoxes(QWidget *tab, std::initializer_list<StyleBox> boxes);
    // The x, y, width and height fields Edit<firstNumber> to Edit<firstNumber + 3> after "XYWH:".
    struct GeometryRow {
        int firstNumber;
        std::array<int, 4> lefts{48, 80, 112, 144};
        int top;
        QPoint caption;
        QString captionName = {};
        QStringList defaults{QStringLiteral("-1"), QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("0")};
    };
    void addGeometryRow(QWidget *tab, std::array<QLineEdit **, 4> fields, const GeometryRow &row);

    void buildHeaderPage();
    void buildButtonPage();
    void buildRadioPage();
    void buildComboPage();
    void buildListPage();
    void buildEditPage();
    void buildLinkPage();
    void buildTabPage();
    void buildIconPage();
    void buildCheckPage();
    void buildScrollPage();
    void buildTextPage();
    void buildPanelPage();

    DialogLines::SlotWords slotWords() const;
    void showComponentText(const QString &text);
    // Runs the picture-file dialog; a confirmed file's full path goes into target.
    void choosePicture(QLineEdit *target);

    std::array<QCheckBox *, 65> m_styleBoxes{};
};

extern QPointer<TForm5> Form5;
