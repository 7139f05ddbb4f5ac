// Every dialog as the builder makes it from its template: each control of the right kind with
// the template's text, the tab order and mnemonics of the template, and its layout kept.
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "qt/dialog_builder.h"
#include "qt/text_boundary.h"
#include "support/qt/test_registry.h"
#include "workflow/about_dialog_template.h"
#include "workflow/main_dialog_template.h"
#include "workflow/patch_dialog_template.h"

namespace tavlo::test {

namespace {

// Whether the widget is what the template's kind of control is made as.
bool IsOfKind(QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::Icon:
        case ControlKind::Static:
        case ControlKind::Label:
            return qobject_cast<QLabel*>(widget) != nullptr;
        case ControlKind::Edit:
            return qobject_cast<QLineEdit*>(widget) != nullptr;
        case ControlKind::MultiLineEdit:
            return qobject_cast<QPlainTextEdit*>(widget) != nullptr;
        case ControlKind::PushButton:
        case ControlKind::DefaultButton: {
            auto* button = qobject_cast<QPushButton*>(widget);
            return button && button->isDefault() == (kind == ControlKind::DefaultButton);
        }
        case ControlKind::DropDownCombo: {
            auto* box = qobject_cast<QComboBox*>(widget);
            return box && box->isEditable();
        }
    }
    return false;
}

QString TextOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        return button->text();
    }
    return QString();
}

QRect UnitsOf(const ControlTemplate& control) {
    return QRect(control.x, control.y, control.width, control.height);
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void everyDialogIsBuiltAsItsTemplateDescribesIt() {
        for (const DialogTemplate* dialogTemplate :
             {&main_dialog_template::kTemplate, &about_dialog_template::kTemplate,
              &patch_dialog_template::kTemplate}) {
            const QByteArray caption(dialogTemplate->caption);
            QDialog dialog;
            const DialogControls controls = BuildDialog(dialog, *dialogTemplate);
            QCOMPARE(dialog.windowTitle(), FromWindows1252(dialogTemplate->caption));
            const auto& made = controls.InOrder();
            QCOMPARE(made.size(), dialogTemplate->controls.size());
            for (std::size_t i = 0; i < made.size(); ++i) {
                const ControlTemplate& control = dialogTemplate->controls[i];
                QVERIFY2(IsOfKind(made[i], control.kind), caption + " " + control.text);
                QVERIFY(dialog.rect().contains(made[i]->geometry()));
                if (control.kind != ControlKind::Icon && !TextOf(made[i]).isEmpty()) {
                    QCOMPARE(TextOf(made[i]), FromWindows1252(control.text));
                }
                // Controls apart in the template are apart on the screen.
                for (std::size_t j = 0; j < i; ++j) {
                    if (!UnitsOf(control).intersects(UnitsOf(dialogTemplate->controls[j]))) {
                        QVERIFY2(!made[i]->geometry().intersects(made[j]->geometry()),
                                 caption + " " + control.text);
                    }
                }
            }
            CheckTabOrderAndMnemonics(*dialogTemplate, controls);
        }
    }

private:
    // Tab goes round the tab stops in the template's order; a label's mnemonic leads to the
    // control after it, or to its buddy.
    static void CheckTabOrderAndMnemonics(const DialogTemplate& dialogTemplate,
                                          const DialogControls& controls) {
        QList<QWidget*> tabStops;
        for (std::size_t i = 0; i < dialogTemplate.controls.size(); ++i) {
            const ControlTemplate& control = dialogTemplate.controls[i];
            QWidget* widget = controls.InOrder()[i];
            if (control.style & kTabStop) {
                tabStops << widget;
            }
            if (control.kind == ControlKind::Label) {
                QWidget* target = control.buddyId != kNoControlId
                                      ? controls.Control(control.buddyId)
                                      : controls.InOrder()[i + 1];
                QCOMPARE(qobject_cast<QLabel*>(widget)->buddy(), target);
            }
        }
        QWidget* widget = tabStops.first();
        for (int i = 1; i <= tabStops.size(); ++i) {
            do {
                widget = widget->nextInFocusChain();
            } while (widget->focusPolicy() == Qt::NoFocus || !tabStops.contains(widget));
            QCOMPARE(widget, tabStops.at(i % tabStops.size()));
        }
    }
};

TAVLO_REGISTER_TEST(DialogsTest);

}  // namespace tavlo::test

#include "dialogs_test.moc"
