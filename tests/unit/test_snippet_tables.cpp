// The snippet catalogue tables: sizes, every row quoted in full, the symbol table's order.
#include "language/snippet_tables.h"

#include <QSet>
#include <QTest>

namespace {

// Rows quoted in full, in the order of their tables.
const QStringList kDialogTemplates = {
    QStringLiteral("dialog <name> {&  title \"<|>[text]\"&  size -1 -1 x y&  option dbu|pixels&}&"),
    QStringLiteral("text \"[text]\", id, x y w h, right center nowrap"),
    QStringLiteral("edit \"[text]\", id, x y w h, right center multi pass read return hsbar vsbar autohs autovs limit n"),
    QStringLiteral("button \"[text]\", id, x y w h, default ok cancel flat multi"),
    QStringLiteral("check \"[text]\", id, x y w h, left push 3state"),
    QStringLiteral("radio \"[text]\", id, x y w h, left push"),
    QStringLiteral("box \"[text]\", id, x y w h "),
    QStringLiteral("list id, x y w h, sort extsel size vsbar hsbar"),
    QStringLiteral("combo id, x y w h, sort edit drop size vsbar hsbar"),
    QStringLiteral("icon <|>id, x y w h, filename, index, noborder top left bottom right"),
    QStringLiteral("link \"<|>[text]\", id, x y w h"),
    QStringLiteral("scroll \"<|>[text]\", id, x y w h, top left bottom right horizontal range n"),
    QStringLiteral("tab \"<|>[text]\", id, x y w h"),
    QStringLiteral("tab \"<|>[text]\", id"),
    QStringLiteral("menu \"[text]\", menuid"),
    QStringLiteral("menu \"[text]\", menuid, parentmenuid"),
    QStringLiteral("item \"[text]\", id, menuid"),
    QStringLiteral("item break, id, menuid"),
    QStringLiteral("on *:dialog:<|>dialog name:dialog event:id: { & &}"),
};

const QStringList kEventNames = QStringLiteral(
    "action, active, agent, appactive, ban, chat, close, connect, ctcpreply, dccserver, dehelp, "
    "deop, devoice, dialog, disconnect, dns, error, exit, filercvd, filesent, getfail, help, "
    "hotlink, input, invite, join, keydown, keyup, kick, load, midiend, mode, mp3end, nick, "
    "nosound, notice, notify, op, open, part, ping, playend, pong, quit, rawmode, sendfail, serv, "
    "servermode, serverop, signal, snotice, sockclose, socklisten, sockopen, sockread, sockwrite, "
    "start, text, topic, udpread, unban, unload, unotify, usermode, vcmd, voice, wallops, waveend")
    .split(QStringLiteral(", "));

const QStringList kIdentifiers = {
    // 0
    QStringLiteral("$(...)"), QStringLiteral("$+(n1,...,nN)"), QStringLiteral("$0"), QStringLiteral("$1-"),
    QStringLiteral("$?*!=\"message\""), QStringLiteral("$abook(nick,N)"), QStringLiteral("$abs(N)"),
    QStringLiteral("$active"), QStringLiteral("$address"), QStringLiteral("$address(nickname,type)"),
    // 10
    QStringLiteral("$addtok(text,token,C)"), QStringLiteral("$agent(N).char"),
    QStringLiteral("$agent(name,N)"), QStringLiteral("$agentname"), QStringLiteral("$agentstat"),
    QStringLiteral("$agentver"), QStringLiteral("$alias(N/filename)"), QStringLiteral("$and(A,B)"),
    QStringLiteral("$anick"), QStringLiteral("$ansi2mirc(text)"),
    // 20
    QStringLiteral("$aop"), QStringLiteral("$aop(address/N)"), QStringLiteral("$appactive"),
    QStringLiteral("$appstate"), QStringLiteral("$asc(C)"), QStringLiteral("$asctime(N,format)"),
    QStringLiteral("$asin(N)"), QStringLiteral("$atan(N)"), QStringLiteral("$avoice"),
    QStringLiteral("$avoice(address/N)"),
    // 30
    QStringLiteral("$away"), QStringLiteral("$base(N,inbase,outbase,zeropad,precision)"),
    QStringLiteral("$bfind(&binvar, N, M)"), QStringLiteral("$bitoff(A,N)"), QStringLiteral("$biton(A,N)"),
    QStringLiteral("$bvar(&binvar,N,M)"), QStringLiteral("$bytes(N,bkmgt3).suf"),
    QStringLiteral("$calc(operations)"), QStringLiteral("$cb"), QStringLiteral("$cb(N)"),
    // 40
    QStringLiteral("$chan"), QStringLiteral("$chan(N/#)"), QStringLiteral("$chanmodes"),
    QStringLiteral("$chantypes"), QStringLiteral("$chat(N/nick[,N])"), QStringLiteral("$chr(N)"),
    QStringLiteral("$clevel"), QStringLiteral("$click(@,N)"), QStringLiteral("$cmdbox"),
    QStringLiteral("$cmdline"),
    // 50
    QStringLiteral("$cnick(N/nick, M)"), QStringLiteral("$color(name/N)"),
    QStringLiteral("$com(name,member,method,type1,value1,...,typeN,valueN)"), QStringLiteral("$com(name/N)"),
    QStringLiteral("$com(name/N,varname)"), QStringLiteral("$comchan(nick,N)"), QStringLiteral("$comerr"),
    QStringLiteral("$cos(N), $acos(N)"), QStringLiteral("$count(string,substring,substring2,...,substringN)"),
    QStringLiteral("$cr"),
    // 60
    QStringLiteral("$crc(filename)"), QStringLiteral("$creq"), QStringLiteral("$crlf"),
    QStringLiteral("$ctime"), QStringLiteral("$ctime(text)"), QStringLiteral("$ctimer"),
    QStringLiteral("$date"), QStringLiteral("$day"), QStringLiteral("$daylight"), QStringLiteral("$dbuh"),
    // 70
    QStringLiteral("$dbuw"), QStringLiteral("$dccignore"), QStringLiteral("$dccignore(N/filename)"),
    QStringLiteral("$dccport"), QStringLiteral("$ddename"), QStringLiteral("$debug"),
    QStringLiteral("$decode(%var | &binvar, mubt, N)"), QStringLiteral("$deltok(text,N-N2,C)"),
    QStringLiteral("$devent"), QStringLiteral("$dialog(name,table[,parent])"),
    // 80
    QStringLiteral("$did"), QStringLiteral("$did(name,id,N)"), QStringLiteral("$didtok(name,id,C)"),
    QStringLiteral("$didwm(name,id,wildtext,N)"), QStringLiteral("$disk(C)"), QStringLiteral("$dlevel"),
    QStringLiteral("$dll(filename, procname, data)"), QStringLiteral("$dll(N/filename)"),
    QStringLiteral("$dll(name.dll,procname,data)"), QStringLiteral("$dname"),
    // 90
    QStringLiteral("$dns(N)"), QStringLiteral("$duration(seconds,N)"), QStringLiteral("$editbox(window,N)"),
    QStringLiteral("$emailaddr"), QStringLiteral("$encode(%var | &binvar, mubt, N)"),
    QStringLiteral("$eval(text,N)"), QStringLiteral("$event"), QStringLiteral("$exists(file/dir)"),
    QStringLiteral("$file(filename)"), QStringLiteral("$filtered"),
    // 100
    QStringLiteral("$filtered"), QStringLiteral("$finddir(dir,wildcard,N,depth,@window|command)"),
    QStringLiteral("$findfile(dir,wildcard,N,depth,@window|command)"),
    QStringLiteral("$findtok(text,token,N,C)"), QStringLiteral("$findtokcs(text,token,N,C)"),
    QStringLiteral("$fline(@,wildtext,N,T)"), QStringLiteral("$fserv(N/nick,[N])"),
    QStringLiteral("$fulladdress"), QStringLiteral("$fulldate"), QStringLiteral("$fullname"),
    // 110
    QStringLiteral("$get(N/nick,[N])"), QStringLiteral("$getdir"), QStringLiteral("$getdir(filespec)"),
    QStringLiteral("$getdot(@,x,y)"), QStringLiteral("$gettok(text,N,C)"), QStringLiteral("$gmt"),
    QStringLiteral("$group(N/#)"), QStringLiteral("$hash(text,B)"), QStringLiteral("$height(text,font,size)"),
    QStringLiteral("$hfind(name/N, text, N, M)"),
    // 120
    QStringLiteral("$hget(name/N,item,&binvar)"), QStringLiteral("$highlight"),
    QStringLiteral("$highlight(N/text)"), QStringLiteral("$host"), QStringLiteral("$hotline"),
    QStringLiteral("$ial(nick/mask,N)"), QStringLiteral("$ial(nick/mask,N)"),
    QStringLiteral("$ialchan(nick/mask,#,N)"), QStringLiteral("$ialchan(nick/mask,#,N)"),
    QStringLiteral("$ibl(#channel,N)"),
    // 130
    QStringLiteral("$idle"), QStringLiteral("$idle"), QStringLiteral("$ifmatch"), QStringLiteral("$ifmatch"),
    QStringLiteral("$ignore"), QStringLiteral("$ignore(address/N)"), QStringLiteral("$ignore(N/address)"),
    QStringLiteral("$iif(C,T,F)"), QStringLiteral("$ini(file,topic/N,item/N)"), QStringLiteral("$inmidi"),
    // 140
    QStringLiteral("$inpaste"), QStringLiteral("$inpoly(x,y,a1,a2,b1,b2,...)"),
    QStringLiteral("$input(prompt,N,window,title,text)"), QStringLiteral("$inrect(x,y,x,y,w,h)"),
    QStringLiteral("$insong"), QStringLiteral("$instok(text,token,N,C)"),
    QStringLiteral("$int(3.14159) returns 3"), QStringLiteral("$int(N)"), QStringLiteral("$inwave"),
    QStringLiteral("$ip"),
    // 150
    QStringLiteral("$isalias(name)"), QStringLiteral("$isbit(A,N)"), QStringLiteral("$isdde(name)"),
    QStringLiteral("$isdir(dirname)"), QStringLiteral("$isfile(filename)"), QStringLiteral("$isid"),
    QStringLiteral("$islower(text)"), QStringLiteral("$istok(text,token,C)"),
    QStringLiteral("$isupper(text)"), QStringLiteral("$keychar"),
    // 160
    QStringLiteral("$keyrpt"), QStringLiteral("$keyval"), QStringLiteral("$left(text,N)"),
    QStringLiteral("$leftwin"), QStringLiteral("$len(text)"), QStringLiteral("$level(address)"),
    QStringLiteral("$lf"), QStringLiteral("$line(@name,N,T)"), QStringLiteral("$lines(filename)"),
    QStringLiteral("$link(N)"),
    // 170
    QStringLiteral("$lock(item/#/N)"), QStringLiteral("$log(N)"), QStringLiteral("$logdir"),
    QStringLiteral("$longfn(filename)"), QStringLiteral("$longip(address)"), QStringLiteral("$lower(text)"),
    QStringLiteral("$ltimer"), QStringLiteral("$ltimer"), QStringLiteral("$maddress"),
    QStringLiteral("$mask(address,type)"),
    // 180
    QStringLiteral("$matchkey"), QStringLiteral("$matchtok(tokens,string,N,C)"),
    QStringLiteral("$md5(text|&binvar|filename,[N])"), QStringLiteral("$me"), QStringLiteral("$menu"),
    QStringLiteral("$mid(text,S,N)"), QStringLiteral("$mididir"), QStringLiteral("$mircdir"),
    QStringLiteral("$mircexe"), QStringLiteral("$mircini"),
    // 190
    QStringLiteral("$mklogfn(filename)"), QStringLiteral("$mnick"), QStringLiteral("$mode(N)"),
    QStringLiteral("$modespl"), QStringLiteral("$mouse"), QStringLiteral("$network"), QStringLiteral("$nick"),
    QStringLiteral("$nick(#,N/nick,aohvr,aohvr)"), QStringLiteral("$nofile(filename)"),
    QStringLiteral("$nopath(filename)"),
    // 200
    QStringLiteral("$not(A)"), QStringLiteral("$notags(text)"), QStringLiteral("$notify(N/nick)"),
    QStringLiteral("$numeric"), QStringLiteral("$numtok(text,C)"), QStringLiteral("$online"),
    QStringLiteral("$onpoly(n1,n2,x,y,x,y,...)"), QStringLiteral("$or(A,B)"), QStringLiteral("$ord(N)"),
    QStringLiteral("$os"),
    // 210
    QStringLiteral("$pic(filename)"), QStringLiteral("$play(<|>Nick,N)"), QStringLiteral("$port"),
    QStringLiteral("$portfree(N)"), QStringLiteral("$pos(text,string,N)"), QStringLiteral("$prefix"),
    QStringLiteral("$protect"), QStringLiteral("$protect(address/N)"),
    QStringLiteral("$puttok(text,token,N,C)"), QStringLiteral("$query(N/nick)"),
    // 220
    QStringLiteral("$rand(v1,v2)"), QStringLiteral("$read(filename,[ntsw],[matchtext],[N])"),
    QStringLiteral("$readini(filename,[n],section,item)"), QStringLiteral("$readn"),
    QStringLiteral("$regex([name],text,re)"), QStringLiteral("$regml([name],N)"),
    QStringLiteral("$regsub([name],text,re,subtext,%var)"), QStringLiteral("$remove(string,substring,...)"),
    QStringLiteral("$remtok(text,token,N,C)"), QStringLiteral("$remtokcs(text,token,N,C)"),
    // 230
    QStringLiteral("$replace(string,substring,newstring,...)"), QStringLiteral("$reptok(text,token,new,N,C)"),
    QStringLiteral("$result"), QStringLiteral("$rgb(N,N,N)"), QStringLiteral("$rgb(name)"),
    QStringLiteral("$right(text,N)"), QStringLiteral("$round(N,D)"), QStringLiteral("$script"),
    QStringLiteral("$script(N/filename)"), QStringLiteral("$scriptdir"),
    // 240
    QStringLiteral("$scriptline"), QStringLiteral("$sdir(dir,title)"), QStringLiteral("$send(N/nick[,N])"),
    QStringLiteral("$server"), QStringLiteral("$server(N/address)"), QStringLiteral("$serverip"),
    QStringLiteral("$sfile(dir,title,oktext)"), QStringLiteral("$shortfn(filename)"), QStringLiteral("$show"),
    QStringLiteral("$signal"),
    // 250
    QStringLiteral("$sin(N)"), QStringLiteral("$site"), QStringLiteral("$sline(@name,N)"),
    QStringLiteral("$snick(#,N)"), QStringLiteral("$snicks"), QStringLiteral("$snotify"),
    QStringLiteral("$sock(name,N)"), QStringLiteral("$sockbr"), QStringLiteral("$sockerr"),
    QStringLiteral("$sockname"),
    // 260
    QStringLiteral("$sorttok(text,C,ncr)"), QStringLiteral("$sorttokcs(text,C,ncr)"),
    QStringLiteral("$sound(filename)"), QStringLiteral("$sqrt(N)"), QStringLiteral("$sreq"),
    QStringLiteral("$status"), QStringLiteral("$str(text,N)"), QStringLiteral("$strip(text,burcmo)"),
    QStringLiteral("$stripped"), QStringLiteral("$submenu(<|>$id($1))"),
    // 270
    QStringLiteral("$tan(N)"), QStringLiteral("$target"), QStringLiteral("$ticks"), QStringLiteral("$time"),
    QStringLiteral("$timer(N/name)"), QStringLiteral("$timestamp"), QStringLiteral("$timestampfmt"),
    QStringLiteral("$timezone"), QStringLiteral("$titlebar"), QStringLiteral("$ulevel"),
    // 280
    QStringLiteral("$ulist(nick!userid@address,L,N)"), QStringLiteral("$upper(text)"),
    QStringLiteral("$uptime(mirc|server|system, N)"), QStringLiteral("$url"), QStringLiteral("$url(N)"),
    QStringLiteral("$usermode"), QStringLiteral("$var(%var,N)"), QStringLiteral("$vcmd(N)"),
    QStringLiteral("$vcmdstat"), QStringLiteral("$vcmdver"),
    // 290
    QStringLiteral("$version"), QStringLiteral("$vol(wave|midi|song|master)"), QStringLiteral("$wid"),
    QStringLiteral("$width=$width(text,font,size,B,C)"), QStringLiteral("$wildsite"),
    QStringLiteral("$wildtok(tokens,wildstring,N,C)"), QStringLiteral("$wildtokcs(tokens,wildstring,N,C)"),
    QStringLiteral("$window"), QStringLiteral("$window(N/@name)"),
    QStringLiteral("$wrap(text,font,size,width,[word],N)"),
    // 300
    QStringLiteral("$xor(A,B)"),
};

const QStringList kCommandNames = QStringLiteral(
    "abook, ajinvite, alias, aline, ame, amsg, anick, aop, auser, avoice, away, background, ban, "
    "bcopy, beep, bread, break, breplace, bset, btrunc, bunset, bwrite, channel, clear, clearall, "
    "cline, clipboard, close, cnick, color, comclose, comopen, comreg, continue, copy, creq, "
    "ctcpreply, ctcps, dcc chat, dcc send, dcc ignore, dcc reject, dcc get, dccserver, dde, "
    "ddeserver, debug, dec, describe, dialog, did, disable, disconnect, dlevel, dline, dll, dns, "
    "dqwindow, drawcopy, drawfill, drawline, drawpic, drawrect, drawreplace, drawrot, drawsave, "
    "drawscroll, drawtext, ebeeps, echo, editbox, emailaddr, enable, events, exit, filter, "
    "findtext, finger, firewall, flash, flood, flush, flushini, font, fsend, fserve, fullname, "
    "ghide, gload, gmove, gopts, goto, gplay, gpoint, gqreq, groups, gshow, gsize, gstop, gtalk, "
    "gunload, guser, hadd, halt, haltdef, hinc, hdec, hdel, help, hfree, hload, hmake, hop, hsave, "
    "ial, ialclear, ialmark, identd, if, ignore, iline, inc, invite, iuser, join, kick, linesep, "
    "links, list, load, loadbuf, localinfo, log, mdi, me, mkdir, mode, msg, nick, notify, omsg, "
    "onotice, part, partall, pdcc, perform, play, pop, protect, pvoice, query, queryrn, quit, raw, "
    "raw, reload, remini, remote, remove, rename, renwin, resetidle, return, rlevel, rline, rmdir, "
    "run, ruser, save, savebuf, saveini, say, scid, scon, server, set, showmirc, signal, sline, "
    "sline, sockaccept, sockclose, socklist, socklisten, sockmark, sockopen, sockread, sockrename, "
    "sockudp, sockwrite, sound, speak, splay, sreq, strip, timer, timestamp, titlebar, tnick, "
    "tokenize, topic, tray, ulist, unload, unset, unsetall, updatenl, url, uwho, var, vcadd, vcmd, "
    "vcrem, vol, while, whois, window, winhelp, write, writeini")
    .split(QStringLiteral(", "));


// Command rows quoted in full, by row.
const QList<std::pair<int, QString>> kQuotedCommands = {
    {0, QStringLiteral("abook [nickname]")},
    {2, QStringLiteral("alias [filename] <aliasname> <command>")},
    {16, QStringLiteral("break")},
    {39, QStringLiteral("dcc send -clN <nick> <file1> [file2] ... [fileN]")},
    {40, QStringLiteral("dcc ignore [on | off | only | except] ")},
    {49, QStringLiteral("dialog -mdtsonkcvie name [table] [x y w h] [text]")},
    {50, QStringLiteral("did -ftebvhnmcukradiogj name id [n] [text | filename]")},
    {84, QStringLiteral("fsend [on|off] ")},
    {99, QStringLiteral("gtalk -kwlu <name> <text|wavefile|text>>")},
    {105, QStringLiteral("hinc -smbczuN <name> <item> [data|&binvar]")},
    {106, QStringLiteral("hdec -smbczuN <name> <item> [data|&binvar]")},
    {118, QStringLiteral("if ( ) { }&elseif ( ) { }$else { }")},
    {145, QStringLiteral("perform [on|off] command.")},
    {153, QStringLiteral("raw [-q] <command>")},
    {154, QStringLiteral("raw [on|off]")},
    {178, QStringLiteral("sline [-a|r] <#channel> <N|nick>")},
    {179, QStringLiteral("sline [c] <@name> <N>")},
    {195, QStringLiteral("timer[Nname] [-ceomhipr] [time] <repetitions> <interval> <command>")},
    {209, QStringLiteral("var %x [= <value>]")},
    {214, QStringLiteral("while ( ) { }")},
    {216, QStringLiteral("window [-abBcCdeEfg[N]hikl[N]mnoprRsvwxz] [-tN,..,N] [+bdeflLmnstx] <@name> "
                         "[x y [w h]] [command] [popup.txt] [font [size]] [iconfile [N]]")},
};

// Command rows whose syntax follows mIRC's documented forms, by row.
const QList<std::pair<int, QString>> kDocumentedCommands = {
    {3, QStringLiteral("aline [-sahpi[N]nltc[N]] [c] <@name> <text>")},
    {42, QStringLiteral("dcc get <folder>")},
    {58, QStringLiteral("drawcopy [-ihmnt] <@name> [color] <x y w h> <@name> <x y [w h]>")},
    {61, QStringLiteral("drawpic [-ihmnoftsclgN] <@name> [color] <x y [w h]> [x y w h] [N] [M] <filename>")},
    {64, QStringLiteral("drawrot [-hmnpbfc] <@name> [color] <angle> [x y w h]")},
    {65, QStringLiteral("drawsave [-bNqNv] <@name> <filename>")},
    {70, QStringLiteral("editbox [-saf[N]nopbNeNvqN] [window] <text>")},
    {75, QStringLiteral("filter [-asdfkwxnphNriocteubglLz] [n-n2] [c s] <infile | dialog id | @window> "
                        "<outfile | dialog id | @window | alias> [alias] <matchtext>")},
    {78, QStringLiteral("firewall [-cmN[+|-]d] [on|off] <server> <port> <userid> <password>")},
    {80, QStringLiteral("flood [+c|-c] [on|off|clear] <bytes> <maxlines> <maxmessages> <ignoretime>")},
    {88, QStringLiteral("gload [-h] <name> <filename|N|default>")},
    {90, QStringLiteral("gopts <-b|i|e|h|n> <name> <on|off|size|pace|hide|nosize|nopace|nohide|langid>")},
    {94, QStringLiteral("gqreq <on|off>")},
    {120, QStringLiteral("iline [-sahpi[N]nltc[N]] [c] <@name> <N> <text>")},
    {123, QStringLiteral("iuser <nick|address> [info]")},
    {133, QStringLiteral("mdi <-a|c|t|v>")},
    {144, QStringLiteral("pdcc [on|off]")},
    {146, QStringLiteral("play [-aescpbnxqNmNfNrlN] [-tTOPIC] [alias] [#channel|nick|stop] <filename> [delay]")},
    {164, QStringLiteral("rline [-ahsltc[N]] [c] <@name> <N> <text>")},
    {169, QStringLiteral("savebuf [lines] [-sgaolpn] <window | dialog id> <filename>")},
    {210, QStringLiteral("vcadd <command1,command2,...>")},
};

// True when every [ and < in the text is closed in order; the "<|>" mark is ordinary text.
bool bracketsBalance(QString text)
{
    text.remove(QStringLiteral("<|>"));
    QString open;
    for (const QChar c : std::as_const(text)) {
        if (c == QLatin1Char('[') || c == QLatin1Char('<')) {
            open.append(c);
        } else if (c == QLatin1Char(']') || c == QLatin1Char('>')) {
            const QChar expected = c == QLatin1Char(']') ? QLatin1Char('[') : QLatin1Char('<');
            if (open.isEmpty() || open.back() != expected)
                return false;
            open.chop(1);
        }
    }
    return open.isEmpty();
}

const QStringList kBareCommands = QStringLiteral(
    "break continue disconnect exit halt haltdef saveini unsetall updatenl").split(QLatin1Char(' '));

} // namespace

class TestSnippetTables : public QObject {
    Q_OBJECT
private slots:
    void tableSizes_data();
    void tableSizes();
    void rowsAreSingleLines();
    void dialogTemplatesAsQuoted();
    void eventHeadersAsQuoted();
    void identifiersAsQuoted();
    void repeatedIdentifierRowsStayInPlace();
    void commandRowsAsQuoted();
    void commandRowsFollowDocumentedSyntax();
    void unquotedCommandRowsCloseTheirBrackets();
    void everyCommandRowStartsWithItsName();
    void onlyTheListedCommandsAreBare();
    void symbolsFollowTheirCodes();
    void symbolOddities();
};

void TestSnippetTables::tableSizes_data()
{
    QTest::addColumn<SnippetTable>("table");
    QTest::addColumn<int>("rows");
    QTest::newRow("dialog templates") << SnippetTable::DialogTemplates << 19;
    QTest::newRow("symbols") << SnippetTable::Symbols << 224;
    QTest::newRow("commands") << SnippetTable::Commands << 220;
    QTest::newRow("event headers") << SnippetTable::EventHeaders << 68;
    QTest::newRow("identifiers") << SnippetTable::Identifiers << 301;
}

void TestSnippetTables::tableSizes()
{
    QFETCH(SnippetTable, table);
    QFETCH(int, rows);
    QCOMPARE(snippetTable(table).size(), rows);
}

void TestSnippetTables::rowsAreSingleLines()
{
    for (SnippetTable table : {SnippetTable::DialogTemplates, SnippetTable::Symbols, SnippetTable::Commands,
                               SnippetTable::EventHeaders, SnippetTable::Identifiers}) {
        for (const QString &row : snippetTable(table)) {
            QVERIFY2(!row.contains(QLatin1Char('\r')) && !row.contains(QLatin1Char('\n')), qPrintable(row));
            QVERIFY2(!row.contains(QChar(0)), qPrintable(row));
        }
    }
}

void TestSnippetTables::dialogTemplatesAsQuoted()
{
    QCOMPARE(snippetTable(SnippetTable::DialogTemplates), kDialogTemplates);
}

void TestSnippetTables::eventHeadersAsQuoted()
{
    const QStringList &headers = snippetTable(SnippetTable::EventHeaders);
    QCOMPARE(kEventNames.size(), 68);
    QCOMPARE(headers.size(), kEventNames.size());
    for (qsizetype i = 0; i < headers.size(); ++i)
        QCOMPARE(headers.at(i), QStringLiteral("on *:") + kEventNames.at(i) + QLatin1Char(':'));
    QCOMPARE(headers.at(57), QStringLiteral("on *:text:"));
}

void TestSnippetTables::identifiersAsQuoted()
{
    const QStringList &identifiers = snippetTable(SnippetTable::Identifiers);
    QCOMPARE(kIdentifiers.size(), 301);
    for (qsizetype i = 0; i < kIdentifiers.size(); ++i)
        QCOMPARE(identifiers.value(i), kIdentifiers.at(i));
}

void TestSnippetTables::repeatedIdentifierRowsStayInPlace()
{
    const QStringList &identifiers = snippetTable(SnippetTable::Identifiers);
    const QList<std::pair<int, QString>> pairs = {
        {99, QStringLiteral("$filtered")},          {125, QStringLiteral("$ial(nick/mask,N)")},
        {127, QStringLiteral("$ialchan(nick/mask,#,N)")}, {130, QStringLiteral("$idle")},
        {132, QStringLiteral("$ifmatch")},          {176, QStringLiteral("$ltimer")},
    };
    for (const auto &[row, text] : pairs) {
        QCOMPARE(identifiers.at(row), text);
        QCOMPARE(identifiers.at(row + 1), text);
    }
    QStringList distinct = identifiers;
    QCOMPARE(distinct.removeDuplicates(), 6);
}

void TestSnippetTables::commandRowsAsQuoted()
{
    const QStringList &commands = snippetTable(SnippetTable::Commands);
    for (const auto &[row, text] : kQuotedCommands)
        QCOMPARE(commands.at(row), text);
}

void TestSnippetTables::commandRowsFollowDocumentedSyntax()
{
    const QStringList &commands = snippetTable(SnippetTable::Commands);
    for (const auto &[row, text] : kDocumentedCommands)
        QCOMPARE(commands.at(row), text);
}

// Quoted rows stay as they are, even the one with a stray ">"; every other row is well formed.
void TestSnippetTables::unquotedCommandRowsCloseTheirBrackets()
{
    const QStringList &commands = snippetTable(SnippetTable::Commands);
    QSet<int> quoted;
    for (const auto &[row, text] : kQuotedCommands)
        quoted.insert(row);
    for (qsizetype i = 0; i < commands.size(); ++i) {
        if (quoted.contains(int(i)))
            continue;
        const QString &row = commands.at(i);
        QVERIFY2(bracketsBalance(row), qPrintable(QStringLiteral("row %1: %2").arg(i).arg(row)));
    }
    QVERIFY(!bracketsBalance(commands.at(99)));
}

void TestSnippetTables::everyCommandRowStartsWithItsName()
{
    const QStringList &commands = snippetTable(SnippetTable::Commands);
    QCOMPARE(kCommandNames.size(), 220);
    for (qsizetype i = 0; i < kCommandNames.size(); ++i) {
        const QString &name = kCommandNames.at(i);
        const QString &row = commands.at(i);
        const bool named = row == name || row.startsWith(name + QLatin1Char(' '))
            || (name == QLatin1String("timer") && row.startsWith(QLatin1String("timer[")));
        QVERIFY2(named, qPrintable(QStringLiteral("row %1: %2").arg(i).arg(row)));
    }
}

void TestSnippetTables::onlyTheListedCommandsAreBare()
{
    QStringList bare;
    for (const QString &row : snippetTable(SnippetTable::Commands)) {
        if (!row.contains(QLatin1Char(' ')))
            bare.append(row);
    }
    QCOMPARE(bare, kBareCommands);
}

void TestSnippetTables::symbolsFollowTheirCodes()
{
    const QStringList &symbols = snippetTable(SnippetTable::Symbols);
    const QStringList first = QStringLiteral("! \" # $ % & ' ( ) * + , - . / 0 1 2 3 4 4 5").split(QLatin1Char(' '));
    QCOMPARE(symbols.mid(0, first.size()), first);
    QCOMPARE(symbols.mid(26, 5), QStringLiteral(": ; < > =").split(QLatin1Char(' ')));
    QCOMPARE(symbols.mid(70, 8), QStringLiteral("f g i j k l h m").split(QLatin1Char(' ')));
    QCOMPARE(symbols.at(94), QStringLiteral("~"));
    QCOMPARE(symbols.at(96), QStringLiteral("Ђ"));
    QCOMPARE(symbols.at(128), QString(QChar(0x00A0)));
    QCOMPARE(symbols.at(160), QStringLiteral("А"));
    QCOMPARE(symbols.last(), QStringLiteral("я"));
    for (const QString &symbol : symbols)
        QVERIFY(symbol.size() <= 1);
}

void TestSnippetTables::symbolOddities()
{
    const QStringList &symbols = snippetTable(SnippetTable::Symbols);
    QCOMPARE(symbols.at(19), QStringLiteral("4"));
    QCOMPARE(symbols.at(20), QStringLiteral("4"));
    QCOMPARE(symbols.at(21), QStringLiteral("5"));
    QCOMPARE(symbols.at(95), QString());
    QCOMPARE(symbols.count(QString()), 1);
    QCOMPARE(symbols.at(120), QString(QChar(0x0098)));
}

QTEST_APPLESS_MAIN(TestSnippetTables)
#include "test_snippet_tables.moc"
