#pragma once

// The account information sheet ("2 Page Property Sheet"): the detail
// editor of one account of the program-wide account array, in four pages:
// identity and address (127), codes and opening values (130), billing
// (132) and performance (133). Nothing is written to disk here: the data
// dialog writes the account files when it closes with Done.
//
// OK applies the pages that were shown, in page order; a page that refuses
// keeps the sheet open on it and stores nothing of its own:
//  - page 1 refuses a bad opening date ("Illegal Opening Date:" and the
//    text in the message list);
//  - page 2 refuses a month, price or value that does not read and a month
//    outside 1 to 12 (message boxes), and a custodian or broker identifier
//    longer than 6 characters (message list);
//  - page 3 refuses a setup charge, letter type or fee option that does
//    not read (message boxes).
// In scripts the sheet is dialog 127, the id of its first page.

#include <string>

#include "platform/property_sheet.h"
#include "records/account_lists.h"

namespace setup {

inline constexpr int kAccountInfoSheetId = 127;
inline constexpr const char* kAccountInfoSheetCaption = "2 Page Property Sheet";

// The common part of the four pages: the account they edit, found by the
// identifier the sheet was opened for.
class CAccountPage : public platform::PropertyPage {
public:
    static constexpr int kIdentifierStatic = 1300;

    CAccountPage(platform::DialogTemplate table, std::string identifier);

protected:
    // The account of the identifier in the account array, or nullptr.
    records::CAccountEntry* Account() const;
    // Shows "Account Identifier:" and the identifier in static 1300.
    void ShowIdentifier();

    std::string identifier_;
};

class CClientInfo1 : public CAccountPage {
public:
    static constexpr int kName = 1245;
    static constexpr int kAddress1 = 1246;
    static constexpr int kAddress2 = 1248;
    static constexpr int kAddress3 = 1249;
    static constexpr int kAddress4 = 1247;
    static constexpr int kSalutation = 1250;
    static constexpr int kShortName = 1251;
    static constexpr int kCustodian1 = 1252;
    static constexpr int kCustodian2 = 1337;
    static constexpr int kTaxId = 1254;
    static constexpr int kHomePhone = 1255;
    static constexpr int kBusinessPhone = 1256;
    static constexpr int kDateOpened = 1257;

    explicit CClientInfo1(std::string identifier);
    bool OnInitDialog() override;
    bool OnApply() override;
};

class CClientInfo2 : public CAccountPage {
public:
    static constexpr int kCustodianId = 1268;
    static constexpr int kBrokerId = 1269;
    static constexpr int kManager = 1270;
    static constexpr int kFiscalMonth = 1271;
    static constexpr int kCashS = 1272;
    static constexpr int kCashC = 1273;
    static constexpr int kCashN = 1274;
    static constexpr int kIndex1Price = 1275;
    static constexpr int kIndex2Price = 1276;
    static constexpr int kOpeningValue = 1277;

    explicit CClientInfo2(std::string identifier);
    bool OnInitDialog() override;
    bool OnApply() override;
};

class CClientInfo3 : public CAccountPage {
public:
    static constexpr int kFeeCode = 1279;
    static constexpr int kSetupCharge = 1280;
    static constexpr int kFrequencyFrame = 1281;
    static constexpr int kFrequency1 = 1282;  // to 1287
    static constexpr int kLetterType = 1288;
    static constexpr int kFeeOption = 1289;
    static constexpr int kCombinedFrame = 1290;
    static constexpr int kObjective = 1291;
    static constexpr int kNote1 = 1292;  // to 1295
    static constexpr int kFeeCodeLabel = 1296;
    static constexpr int kSetupChargeLabel = 1297;
    static constexpr int kLetterTypeLabel = 1298;
    static constexpr int kFeeOptionLabel = 1299;
    static constexpr int kCombined1 = 1324;  // to 1333

    explicit CClientInfo3(std::string identifier);
    bool OnInitDialog() override;
    bool OnApply() override;
};

class CClientInfoPerf : public CAccountPage {
public:
    static constexpr int kIndex1Symbol = 1312;
    static constexpr int kIndex1Headers = 1303;  // to 1305
    static constexpr int kIndex2Symbol = 1313;
    static constexpr int kIndex2Headers = 1307;  // to 1309

    explicit CClientInfoPerf(std::string identifier);
    bool OnInitDialog() override;
    bool OnApply() override;
};

class CAccountInfoSheet : public platform::PropertySheet {
public:
    CAccountInfoSheet(std::string identifier, platform::Window* parent = nullptr);

private:
    CClientInfo1 page1_;
    CClientInfo2 page2_;
    CClientInfo3 page3_;
    CClientInfoPerf page4_;
};

}  // namespace setup
