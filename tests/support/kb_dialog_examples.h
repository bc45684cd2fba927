#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// The example dialogs of mIRC's knowledge base, one per kind of control, each with what the
// knowledge base's screenshot of mIRC shows: the client area and where some controls stand, in
// pixels (all thirteen are in dialog units, which mIRC draws at 2 by 2 pixels).
namespace KbDialogExamples {

struct Placed {
    int id = 0;
    QRect pixels;
};

struct Example {
    QString name;
    QStringList table;
    QSize client;
    QList<Placed> placed;
};

inline QStringList table(const QString &size, const QStringList &body)
{
    return QStringList{u"dialog Example {"_qs, u"  title \"Example\""_qs, u"  size -1 -1 "_qs + size,
                       u"  option dbu"_qs}
           + body + QStringList{u"}"_qs};
}

inline QList<Example> all()
{
    return {
        {u"button"_qs,
         table(u"100 50"_qs, {u"button \"Example 1\", 1, 4 10 40 12"_qs, u"button \"Example 2\", 2, 50 10 40 12"_qs,
                              u"button \"Example A\", 3, 4 30 40 12"_qs,
                              u"button \"Example B\", 4, 50 30 40 12, ok"_qs}),
         {200, 100},
         {{1, {8, 20, 80, 24}}, {4, {100, 60, 80, 24}}}},
        {u"check"_qs,
         table(u"100 50"_qs, {u"check \"Example 1\", 1, 4 10 40 12, 3state"_qs, u"check \"Example 2\", 2, 50 10 40 12"_qs,
                              u"check \"Example 3\", 3, 4 30 40 12"_qs, u"button \"Done\", 4, 50 30 40 12, ok"_qs}),
         {200, 100},
         {{1, {8, 20, 80, 24}}, {3, {8, 60, 80, 24}}}},
        {u"text"_qs,
         table(u"100 70"_qs, {u"text \"This label does not wrap.\", 1, 4 10 40 15, nowrap"_qs,
                              u"text \"This is a simple label.\", 2, 4 30 40 15"_qs,
                              u"text \"I am right-aligned.\", 3, 4 50 40 15, right"_qs,
                              u"button \"Done\", 4, 50 30 40 12, ok"_qs}),
         {200, 140},
         {{1, {8, 20, 80, 30}}, {3, {8, 100, 80, 30}}}},
        {u"box"_qs,
         table(u"90 120"_qs, {u"box \"A Settings\", 1, 4 4 80 40"_qs, u"box \"B Settings\", 2, 4 50 80 40"_qs,
                              u"button \"Done\", 4, 40 100 40 12, ok"_qs}),
         {180, 240},
         {{1, {8, 8, 160, 80}}, {4, {80, 200, 80, 24}}}},
        {u"icon"_qs,
         table(u"100 110"_qs, {u"icon 1, 10 10 80 80, \"C:\\Users\\Public\\Pictures\\Sample Pictures\\Penguins.jpg\", actual"_qs,
                               u"button \"Done\", 7, 10 95 40 12, ok"_qs}),
         {200, 220},
         {{1, {20, 20, 160, 160}}, {7, {20, 190, 80, 24}}}},
        {u"edit"_qs,
         table(u"100 110"_qs, {u"edit \"Left\", 1, 10 10 80 20,"_qs, u"edit \"Center\", 2, 10 40 80 20, center"_qs,
                               u"edit \"Right\", 3, 10 70 80 20, right"_qs, u"button \"Done\", 7, 10 95 40 12, ok"_qs}),
         {200, 220},
         {{1, {20, 20, 160, 40}}, {3, {20, 140, 160, 40}}}},
        {u"scroll"_qs,
         table(u"90 65"_qs, {u"text \"0%\", 1, 30 20 20 20"_qs, u"scroll , 2, 60 5 5 40, range 0 100"_qs,
                             u"button \"Done\", 13, 25 50 40 12, ok"_qs}),
         {180, 130},
         {{2, {120, 10, 10, 80}}, {13, {50, 100, 80, 24}}}},
        {u"link"_qs,
         table(u"100 50"_qs, {u"link \"http://www.wikichip.org/\", 1, 4 10 80 12"_qs,
                              u"button \"Done\", 4, 50 30 40 12, ok"_qs}),
         {200, 100},
         {{1, {8, 20, 160, 24}}}},
        {u"menu"_qs,
         table(u"100 110"_qs, {u"menu \"&File\", 1"_qs,         u"item \"&New\", 11, 1"_qs,
                               u"item \"&Open...\", 12, 1"_qs,  u"item \"&Save\", 13, 1"_qs,
                               u"item \"Save &As...\", 14, 1"_qs, u"menu \"&Edit\", 2"_qs,
                               u"item \"Some Item1\", 21, 2"_qs, u"item break, 22, 2"_qs,
                               u"item \"Some Item2\", 23, 2"_qs, u"menu \"&View\", 3"_qs,
                               u"item \"Some Item3\", 31, 3"_qs, u"item break, 32, 3"_qs,
                               u"item \"Some Item4\", 33, 3"_qs, u"menu \"&Help\", 4"_qs,
                               u"item \"Some Item5\", 41, 4"_qs, u"item break, 42, 4"_qs,
                               u"item \"Some Item6\", 43, 4"_qs, u"button \"Done\", 7, 10 95 40 12, ok"_qs}),
         {200, 220},
         {{7, {20, 190, 80, 24}}}},
        {u"radio"_qs,
         table(u"90 80"_qs, {u"text \"Sex:\", 1, 4 4 10 10"_qs, u"radio \"Male\", 2, 4 13 20 10, group"_qs,
                             u"radio \"Female\", 3, 30 13 30 10"_qs, u"text \"Marital Status:\", 4, 4 25 50 10"_qs,
                             u"radio \"Single\", 5, 4 33 22 10, group left"_qs,
                             u"radio \"Married\", 6, 30 33 25 10, left"_qs, u"radio \"Other\", 7, 60 33 22 10, left"_qs,
                             u"text \"Favorite Color:\", 8, 4 45 50 10"_qs,
                             u"radio \"Red\", 9, 4 55 20 10, group push"_qs, u"radio \"Green\", 10, 25 55 20 10, push"_qs,
                             u"radio \"Blue\", 11, 46 55 20 10, push"_qs, u"radio \"Other\", 12, 67 55 20 10, push"_qs,
                             u"button \"Done\", 13, 40 68 40 12, ok"_qs}),
         {180, 160},
         {{2, {8, 26, 40, 20}}, {12, {134, 110, 40, 20}}}},
        {u"tab"_qs,
         table(u"100 110"_qs, {u"tab \"Tab 1\", 1, 10 10 80 80"_qs, u"tab \"Tab 2\", 2"_qs, u"tab \"Tab 3\", 3"_qs,
                               u"button \"111\", 4, 20 30 40 40, tab 1"_qs, u"button \"222\", 5, 20 30 40 40, tab 2"_qs,
                               u"button \"333\", 6, 20 30 40 40, tab 3"_qs, u"button \"Done\", 7, 10 95 40 12, ok"_qs}),
         {200, 220},
         {{1, {20, 20, 160, 160}}, {4, {40, 60, 80, 80}}}},
        {u"list"_qs,
         table(u"100 110"_qs, {u"list 1, 10 10 80 20, multsel"_qs, u"list 2, 10 40 80 20, radio"_qs,
                               u"list 3, 10 70 80 20, check"_qs, u"button \"Done\", 7, 10 95 40 12, ok"_qs}),
         {200, 220},
         {{1, {20, 20, 160, 40}}, {3, {20, 140, 160, 40}}}},
        {u"combo"_qs,
         table(u"100 110"_qs, {u"combo 1, 10 10 80 50, drop"_qs, u"combo 2, 10 50 80 50"_qs,
                               u"button \"Done\", 7, 10 95 40 12, ok"_qs}),
         {200, 220},
         {{2, {20, 100, 160, 100}}}},
    };
}

} // namespace KbDialogExamples
