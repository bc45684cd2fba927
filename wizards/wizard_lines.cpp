#include "wizards/wizard_lines.h"

#include <iterator>

namespace WizardLines {

namespace {

// Shown and inserted exactly as listed, odd entries such as "avoiceork]" and "raw(Send)" included.
const char *const kAliasCommands[] = {
    "abook", "ajinvite", "alias", "aline", "ame", "amsg", "anick", "aop", "auser", "avoiceork]", "away",
    "background", "ban", "bcopy", "beep", "bread", "break", "breplace", "bset", "btrunc", "bunset",
    "bwrite", "channel", "clear", "clearall", "cline", "clipboard", "close", "cnick", "color", "comclose",
    "comopen", "comreg", "continue", "copy", "creq", "ctcpreply", "ctcps", "dcc chat", "dcc send",
    "dcc ignore", "dcc reject", "dcc get", "dccserver", "dde", "ddeserver", "debug", "dec", "describe",
    "dialog", "did", "disable", "disconnect", "dlevel", "dline", "dll", "dns", "dqwindow", "drawcopy",
    "drawfill", "drawline", "drawpic", "drawrect", "drawreplace", "drawrot", "drawsave", "drawscroll",
    "drawtext", "ebeeps", "echo", "editbox", "emailaddr", "enable", "events", "exit", "filter", "findtext",
    "finger", "firewall", "flash", "flood", "flush", "flushini", "font", "fsend", "fserve", "fullname",
    "ghide", "gload", "gmove", "gopts", "goto", "gplay", "gpoint", "gqreq", "groups", "gshow", "gsize",
    "gstop", "gtalk", "gunload", "guser", "hadd", "halt", "haltdef", "hinc", "hdec", "hdel", "help",
    "hfree", "hload", "hmake", "hop", "hsave", "ial", "ialclear", "ialmark", "identd", "if condition",
    "ignore", "iline", "inc", "invite", "iuser", "join", "kick", "linesep", "links", "list", "load",
    "loadbuf", "localinfo", "log", "mdi", "me", "mkdir", "mode", "msg", "nick", "notify", "omsg",
    "onotice", "part", "partall", "pdcc", "perform", "play", "pop", "protect", "pvoice", "query",
    "queryrn", "quit", "raw(Send)", "raw", "reload", "remini", "remote", "remove", "rename", "renwin",
    "resetidle", "return", "rlevel", "rline", "rmdir", "run", "ruser", "save", "savebuf", "saveini", "say",
    "scid", "scon=", "server", "set", "showmirc", "signal", "sline(Channell)", "sline(Custom window)",
    "sockaccept", "sockclose", "socklist", "socklisten", "sockmark", "sockopen", "sockread", "sockrename",
    "sockudp", "sockwrite", "sound", "speak", "splay", "sreq", "strip", "timer[Nname]", "timestamp",
    "titlebar", "tnick", "tokenize", "topic", "tray", "ulist", "unload", "unset", "unsetall", "updatenl",
    "url", "uwho", "var", "vcadd", "vcmd", "vcrem", "vol", "while", "whois", "window", "winhelp", "write",
    "writeini", "",
};

} // namespace

const QStringList &aliasCommands()
{
    static const QStringList commands = [] {
        QStringList rows;
        rows.reserve(std::size(kAliasCommands));
        for (const char *row : kAliasCommands)
            rows.append(QString::fromLatin1(row));
        return rows;
    }();
    return commands;
}

QString aliasLine(const QString &name, const QString &command)
{
    return QStringLiteral("alias ") + name + QLatin1Char(' ') + command;
}

QStringList variableRows()
{
    return {QStringLiteral("set - Постоянная"), QStringLiteral("var - Временная")};
}

QString variableLine(VariableKind kind, const QString &name)
{
    const QString prefix = kind == VariableKind::Permanent ? QStringLiteral("set %") : QStringLiteral("var %");
    return prefix + name;
}

QString colourCode(const QString &number)
{
    return kColourControl + number;
}

} // namespace WizardLines
