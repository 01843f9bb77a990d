#pragma once
// The program's fixed string-table ids. The .rc script and the code share them.
#define SMemoTooLarge 65344
#define SMsgDlgYes 65376
#define SMsgDlgNo 65377
#define SMsgDlgOK 65378
#define SMsgDlgCancel 65379
#define SMsgDlgHelp 65380
#define SMsgDlgAbort 65381
#define SMsgDlgRetry 65382
#define SMsgDlgIgnore 65383
#define SMsgDlgAll 65384
#define SMsgDlgNoToAll 65385
#define SMsgDlgYesToAll 65386
#define SMsgDlgWarning 65404
#define SMsgDlgError 65405
#define SMsgDlgInformation 65406
#define SMsgDlgConfirm 65407
#define SCannotShowModal 65414
#define SFOpenError 65442
#define SExceptionLocation 65510
#define SApplicationError 65511
