// SMS text coding: conversion between UCS-2 and the GSM 7-bit default
// alphabet, the coding test, lengths, part counting and cutting.
//
// Texts are bytes in the system code page (platform/codepage.h). A septet
// string holds one byte per GSM character (not packed); an extension
// character takes two bytes, 0x1B and its code. 7-bit lengths are septet
// byte counts, UCS-2 lengths are 16-bit unit counts.
//
// These functions are pure: the limits come in as arguments. sms_limits.h
// reads the card's limits and keeps the concatenation reference.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

// Coding of a body as the coding test reports it (the device record uses 1 and 4).
enum : int { SMS_CODING_UCS2 = 0, SMS_CODING_GSM = 1 };

// UCS-2 -> septets. The output needs room for two bytes per input unit.
// Returns the septet bytes written (no terminator), or -1.
int UnicodeToGsm(std::uint8_t* out, int outSize, const std::uint16_t* in, int inLen);
// Septets -> UCS-2. The output needs room for one unit per input byte.
// Returns the units written (no terminator), or -1. A lone escape at the
// end produces nothing.
int GsmToUnicode(std::uint16_t* out, int outCap, const std::uint8_t* in, int inLen);
// 1 when every unit has a 7-bit form, 0 when one has not, -1 for no input.
int IsGsmText(const std::uint16_t* in, int len);
// The coding a code-page text needs: 1 GSM 7-bit, 0 UCS-2, -1 for no text.
int GetSmsCoding(const char* text);
// Hex digits -> bytes, two digits a byte (an odd last digit fills the high
// half). The output must be zeroed and hold digits / 2 + 1 bytes. Upper- and
// lower-case letters decode alike; any other character fails. 0 or -1.
int HexToBytes(std::uint8_t* out, int size, const char* hex, int digits);
// UCS-2 -> code-page text, NUL-terminated. The output must hold two bytes per
// input unit; a text that would not fit is cut on a character boundary.
// Returns the bytes written before the NUL, or -1.
int UnicodeToAnsi(char* out, int size, const std::uint16_t* in, int len);

// The coding of a body and its length in that coding's unit. coding is -1
// when there is no text.
struct SmsLength {
    int coding;
    int length;
};
SmsLength GetSmsLength(const char* text);

// The card's limits: most units of one message and of one part of a
// concatenated message, for each coding. 0 means no room.
struct SmsLimits {
    int single7 = 0;
    int part7 = 0;
    int singleUcs2 = 0;
    int partUcs2 = 0;
    int Single(int coding) const { return coding == SMS_CODING_GSM ? single7 : singleUcs2; }
    int Part(int coding) const { return coding == SMS_CODING_GSM ? part7 : partUcs2; }
};

// Messages a body of `length` needs: 1 when it fits one message, else the
// number of parts; 0 when the limits leave no room for it.
int GetSmsPartCount(int coding, int length, const SmsLimits& limits);
// Part k (from 0) of a body: its septets for 7-bit, or its run of UCS-2 units
// converted back to code-page text for UCS-2. Empty past the end or with no room.
QByteArray GetSmsPart(const char* text, int coding, int part, const SmsLimits& limits);
// Run k of `unitsPerPart` UCS-2 units of a text, as code-page text.
QByteArray GetTextPart(const char* text, int unitsPerPart, int part);

// Helpers shared by the store.
// The UCS-2 units of a code-page text (at most maxBytes bytes of it).
std::vector<std::uint16_t> TextToUcs2(const char* text, std::size_t maxBytes = static_cast<std::size_t>(-1));
// Septets back to code-page text: at most 256 units, at most 512 bytes.
QByteArray SeptetsToText(const std::uint8_t* septets, int len);
