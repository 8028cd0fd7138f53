#pragma once

#include <QString>

// What the chat window sends for typed text, links and images. The visitor's side may render a
// chat line as HTML, so these are the only places where outgoing HTML is built. Pure functions:
// no widgets, callable from tests and from any thread.

// Typed text and canned answers go out with every apostrophe as a backtick. Links, images and
// the welcome message are sent without this.
QString ApostrophesToBackticks(const QString& text);

// The address as sent and shown for a link: kept as typed when it starts with "http", "ftp:"
// or "mail" (case-sensitive), otherwise "http://" is put in front.
QString LinkAddress(const QString& typed);

// The address as sent and shown for an image: only "http" keeps it as typed.
QString ImageAddress(const QString& typed);

// & < > " ' as entities, so that text can stand in an attribute quoted either way and in
// element content without ending either.
QString HtmlEscaped(const QString& text);

// <a href='U' target='_blank'>U</a> with U escaped in both places. The address comes straight
// from the operator's typing; unescaped, an apostrophe in it would close the attribute and let
// the rest of the address become markup on the visitor's page.
QString LinkHtml(const QString& address);

// <img src='U'></img>, U escaped as for links.
QString ImageHtml(const QString& address);
