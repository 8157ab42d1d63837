-- Restaurant database, SQLite flavour. Texts compare without regard to letter case (NOCASE),
-- amounts are NUMERIC, dates are text 'YYYY-MM-DD HH:MM:SS'.
-- Kept column for column in step with mssql.sql.

-- Branches, areas, users and privileges ------------------------------------------------------
CREATE TABLE mnt_dd_Area (
  AreaID        VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  AreaName      VARCHAR(50) COLLATE NOCASE
);
CREATE TABLE rpt_dd_Branch (
  BranchID      VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BranchName    VARCHAR(50) COLLATE NOCASE,
  AreaID        VARCHAR(20) COLLATE NOCASE,
  AreaName      VARCHAR(50) COLLATE NOCASE,
  Address       VARCHAR(100) COLLATE NOCASE,
  PhoneNumber   VARCHAR(30) COLLATE NOCASE
);
CREATE TABLE mnt_dd_Branch (
  BranchID      VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BranchName    VARCHAR(50) COLLATE NOCASE,
  AreaID        VARCHAR(20) COLLATE NOCASE
);
CREATE TABLE dd_Branch (
  BranchID      VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BranchName    VARCHAR(50) COLLATE NOCASE
);
CREATE TABLE pv_UserGroup (
  UserGroupID   VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  UserGroupName VARCHAR(50) COLLATE NOCASE
);
CREATE TABLE pv_User (
  UserID        VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  UserName      VARCHAR(50) COLLATE NOCASE,
  UserGroupID   VARCHAR(20) COLLATE NOCASE,
  Password      VARCHAR(50) COLLATE NOCASE,
  IsLocked      INTEGER DEFAULT 0
);
CREATE TABLE rpt_pv_Branch (
  UserID        VARCHAR(20) COLLATE NOCASE NOT NULL,
  BranchID      VARCHAR(20) COLLATE NOCASE NOT NULL
);
CREATE TABLE rpt_pv_Area (
  UserID        VARCHAR(20) COLLATE NOCASE NOT NULL,
  AreaID        VARCHAR(20) COLLATE NOCASE NOT NULL
);

-- Dictionaries -------------------------------------------------------------------------------
CREATE TABLE dd_Period (
  PeriodID      VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  PeriodName    VARCHAR(30) COLLATE NOCASE,
  BeginTime     VARCHAR(8) COLLATE NOCASE,
  EndTime       VARCHAR(8) COLLATE NOCASE
);
CREATE TABLE dd_Subject (
  SubjectID     VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  SubjectName   VARCHAR(30) COLLATE NOCASE,
  BalanceType   INTEGER DEFAULT 0,
  IsVisible     INTEGER DEFAULT 1,
  ExchangeRate  NUMERIC DEFAULT 1,
  ListIndex     INTEGER DEFAULT 0
);
CREATE TABLE dd_Reason (
  ReasonID      VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  ReasonName    VARCHAR(50) COLLATE NOCASE
);
CREATE TABLE dd_Discount (
  DiscountID    VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  DiscountName  VARCHAR(30) COLLATE NOCASE,
  DiscountRate  NUMERIC DEFAULT 1
);
CREATE TABLE dd_Expense (
  ExpenseID     VARCHAR(10) COLLATE NOCASE,
  ExpenseName   VARCHAR(50) COLLATE NOCASE,
  ListIndex     INTEGER
);

-- Menu ---------------------------------------------------------------------------------------
CREATE TABLE mn_DepartType (
  DepartTypeID   VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  DepartTypeName VARCHAR(30) COLLATE NOCASE,
  ListIndex      INTEGER DEFAULT 0
);
CREATE TABLE mn_Depart (
  DepartID      VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  DepartName    VARCHAR(30) COLLATE NOCASE,
  DepartTypeID  VARCHAR(10) COLLATE NOCASE
);
CREATE TABLE mn_MenuType (
  MenuTypeID    VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  MenuTypeName  VARCHAR(30) COLLATE NOCASE,
  DepartTypeID  VARCHAR(10) COLLATE NOCASE,
  PrintPRI      INTEGER DEFAULT 0
);
CREATE TABLE mn_Menu (
  MenuID        VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  MenuName      VARCHAR(50) COLLATE NOCASE,
  ToSpell       VARCHAR(20) COLLATE NOCASE,
  BarCode       VARCHAR(30) COLLATE NOCASE,
  MenuTypeID    VARCHAR(10) COLLATE NOCASE,
  MenuUnit      VARCHAR(10) COLLATE NOCASE,
  MenuPrice1    NUMERIC DEFAULT 0,
  MenuPrice2    NUMERIC DEFAULT 0,
  MenuPrice3    NUMERIC DEFAULT 0,
  MenuPrice4    NUMERIC DEFAULT 0,
  CostPrice     NUMERIC DEFAULT 0,
  IsMenuSets    INTEGER DEFAULT 0,
  BySeanson     INTEGER DEFAULT 0,
  IsService     INTEGER DEFAULT 0,
  [IsNull]      INTEGER DEFAULT 0,
  IsTableOrder  INTEGER DEFAULT 0,
  IsPersonOrder INTEGER DEFAULT 0,
  NeedToPrint   INTEGER DEFAULT 0,
  AutoSaleOut   INTEGER DEFAULT 0,
  IsDiscount    INTEGER DEFAULT 1
);
CREATE TABLE mn_MenuUnit (
  MenuUnitID         VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  MenuID             VARCHAR(20) COLLATE NOCASE NOT NULL,
  MenuUnitName       VARCHAR(10) COLLATE NOCASE,
  PriceForDefault    NUMERIC DEFAULT 0,
  PriceForRoom       NUMERIC DEFAULT 0,
  PriceForMember     NUMERIC DEFAULT 0,
  PriceForRoomMember NUMERIC DEFAULT 0,
  PriceForCost       NUMERIC DEFAULT 0
);
CREATE TABLE mn_SpecailType (
  SpecailTypeID   VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  SpecailTypeName VARCHAR(30) COLLATE NOCASE,
  ListIndex       INTEGER DEFAULT 0
);
CREATE TABLE mn_GroupType (
  GroupTypeID   VARCHAR(10) COLLATE NOCASE,
  GroupTypeName VARCHAR(30) COLLATE NOCASE,
  ListIndex     INTEGER
);
CREATE TABLE mn_GroupItem (
  GroupTypeID   VARCHAR(10) COLLATE NOCASE,
  GroupItemID   VARCHAR(20) COLLATE NOCASE,
  GroupItemType VARCHAR(20) COLLATE NOCASE
);

-- Tables and bookings ------------------------------------------------------------------------
CREATE TABLE tb_TableArea (
  TableAreaID   VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  TableAreaName VARCHAR(30) COLLATE NOCASE,
  BranchID      VARCHAR(20) COLLATE NOCASE
);
CREATE TABLE tb_Table (
  TableID       VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  TableName     VARCHAR(30) COLLATE NOCASE,
  TableFullName VARCHAR(50) COLLATE NOCASE,
  TableAreaID   VARCHAR(10) COLLATE NOCASE,
  SeatCount     INTEGER DEFAULT 4,
  IsRoom        INTEGER DEFAULT 0
);
CREATE TABLE tb_Book (
  BookID        VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  TableID       VARCHAR(10) COLLATE NOCASE,
  CreatePerson  VARCHAR(30) COLLATE NOCASE,
  BookPerson    VARCHAR(30) COLLATE NOCASE,
  PhoneNumber   VARCHAR(30) COLLATE NOCASE,
  BookType      VARCHAR(20) COLLATE NOCASE,
  ArriveTime    TEXT,
  BookTime      TEXT,
  Period        VARCHAR(30) COLLATE NOCASE,
  PeopleCout    INTEGER DEFAULT 0,
  Prepay        NUMERIC DEFAULT 0,
  Paid          NUMERIC DEFAULT 0,
  Status        INTEGER DEFAULT 0,
  BranchID      VARCHAR(20) COLLATE NOCASE,
  Remark        VARCHAR(200) COLLATE NOCASE
);

-- Bills --------------------------------------------------------------------------------------
CREATE TABLE bi_Bill (
  BillID           VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  OriginalID       VARCHAR(20) COLLATE NOCASE,
  BillDate         TEXT,
  BillPeriod       VARCHAR(30) COLLATE NOCASE,
  TableID          VARCHAR(10) COLLATE NOCASE,
  TableName        VARCHAR(30) COLLATE NOCASE,
  TableFullName    VARCHAR(50) COLLATE NOCASE,
  TableAreaID      VARCHAR(10) COLLATE NOCASE,
  TableAreaName    VARCHAR(30) COLLATE NOCASE,
  PeopleCount      INTEGER DEFAULT 0,
  CreatePersonID   VARCHAR(20) COLLATE NOCASE,
  CreatePerson     VARCHAR(30) COLLATE NOCASE,
  CreateTime       TEXT,
  ChargePersonID   VARCHAR(20) COLLATE NOCASE,
  ChargePerson     VARCHAR(30) COLLATE NOCASE,
  CheckOutPersonID VARCHAR(20) COLLATE NOCASE,
  CheckOutPerson   VARCHAR(30) COLLATE NOCASE,
  CheckOutTime     TEXT,
  ShiftID          VARCHAR(20) COLLATE NOCASE,
  SumOfConsume     NUMERIC DEFAULT 0,
  ServiceRate      NUMERIC DEFAULT 0,
  SumOfService     NUMERIC DEFAULT 0,
  DiscountID       VARCHAR(10) COLLATE NOCASE,
  DiscountName     VARCHAR(30) COLLATE NOCASE,
  DiscountRate     NUMERIC DEFAULT 1,
  DiscountPerson   VARCHAR(30) COLLATE NOCASE,
  SumForDiscount   NUMERIC DEFAULT 0,
  SumToPay         NUMERIC DEFAULT 0,
  SumPaid          NUMERIC DEFAULT 0,
  SumInCash        NUMERIC DEFAULT 0,
  SumOfInvoice     NUMERIC DEFAULT 0,
  PrintCount       INTEGER DEFAULT 1,
  CheckOutNull     INTEGER DEFAULT 0,
  IsDeleted        INTEGER DEFAULT 0,
  MemberID         VARCHAR(20) COLLATE NOCASE,
  MemberCardID     VARCHAR(30) COLLATE NOCASE,
  BranchID         VARCHAR(20) COLLATE NOCASE,
  BranchName       VARCHAR(50) COLLATE NOCASE,
  Remark           VARCHAR(200) COLLATE NOCASE
);
CREATE TABLE bi_BillItem (
  BillItemID     VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE NOT NULL,
  MenuID         VARCHAR(20) COLLATE NOCASE,
  MenuName       VARCHAR(50) COLLATE NOCASE,
  MenuUnitID     VARCHAR(24) COLLATE NOCASE,
  MenuUnitName   VARCHAR(10) COLLATE NOCASE,
  MenuTypeID     VARCHAR(10) COLLATE NOCASE,
  MenuTypeName   VARCHAR(30) COLLATE NOCASE,
  DepartTypeID   VARCHAR(10) COLLATE NOCASE,
  DepartTypeName VARCHAR(30) COLLATE NOCASE,
  DepartID       VARCHAR(10) COLLATE NOCASE,
  DepartName     VARCHAR(30) COLLATE NOCASE,
  MenuPrice      NUMERIC DEFAULT 0,
  MenuPrice2     NUMERIC DEFAULT 0,
  CostPrice      NUMERIC DEFAULT 0,
  CookWay        VARCHAR(50) COLLATE NOCASE,
  SumOfCookway   NUMERIC DEFAULT 0,
  AmountOrder    NUMERIC DEFAULT 0,
  AmountCancel   NUMERIC DEFAULT 0,
  IsSentMenu     INTEGER DEFAULT 0,
  SumOfConsume   NUMERIC DEFAULT 0,
  SumOfService   NUMERIC DEFAULT 0,
  SumForDiscount NUMERIC DEFAULT 0,
  CreatePersonID VARCHAR(20) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT
);
CREATE TABLE bi_BillPayment (
  BillPaymentID  VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE NOT NULL,
  SubjectID      VARCHAR(10) COLLATE NOCASE,
  SubjectName    VARCHAR(30) COLLATE NOCASE,
  PaySum         NUMERIC DEFAULT 0,
  ExchangeRate   NUMERIC DEFAULT 1,
  SumPaid        NUMERIC DEFAULT 0,
  CreateTime     TEXT
);
CREATE TABLE bi_SubBill (
  SubBillID      VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE,
  BillItemID     VARCHAR(24) COLLATE NOCASE,
  SubBillType    INTEGER DEFAULT 2,
  MenuAmount     NUMERIC DEFAULT 0,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT,
  Remark         VARCHAR(200) COLLATE NOCASE
);
CREATE TABLE bi_UnCheckBill (
  UnCheckBillID  VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE NOT NULL,
  UnCheckTime    TEXT,
  UnCheckPerson  VARCHAR(30) COLLATE NOCASE,
  SumPaid        NUMERIC DEFAULT 0
);
CREATE TABLE bi_UnCheckBillItem (
  UnCheckBillID  VARCHAR(24) COLLATE NOCASE NOT NULL,
  BillItemID     VARCHAR(24) COLLATE NOCASE NOT NULL,
  BillID         VARCHAR(20) COLLATE NOCASE NOT NULL,
  MenuID         VARCHAR(20) COLLATE NOCASE,
  MenuName       VARCHAR(50) COLLATE NOCASE,
  MenuUnitID     VARCHAR(24) COLLATE NOCASE,
  MenuUnitName   VARCHAR(10) COLLATE NOCASE,
  MenuTypeID     VARCHAR(10) COLLATE NOCASE,
  MenuTypeName   VARCHAR(30) COLLATE NOCASE,
  DepartTypeID   VARCHAR(10) COLLATE NOCASE,
  DepartTypeName VARCHAR(30) COLLATE NOCASE,
  DepartID       VARCHAR(10) COLLATE NOCASE,
  DepartName     VARCHAR(30) COLLATE NOCASE,
  MenuPrice      NUMERIC DEFAULT 0,
  MenuPrice2     NUMERIC DEFAULT 0,
  CostPrice      NUMERIC DEFAULT 0,
  CookWay        VARCHAR(50) COLLATE NOCASE,
  SumOfCookway   NUMERIC DEFAULT 0,
  AmountOrder    NUMERIC DEFAULT 0,
  AmountCancel   NUMERIC DEFAULT 0,
  IsSentMenu     INTEGER DEFAULT 0,
  SumOfConsume   NUMERIC DEFAULT 0,
  SumOfService   NUMERIC DEFAULT 0,
  SumForDiscount NUMERIC DEFAULT 0,
  CreatePersonID VARCHAR(20) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT
);
CREATE TABLE bi_UnCheckBillPayment (
  UnCheckBillID  VARCHAR(24) COLLATE NOCASE NOT NULL,
  BillPaymentID  VARCHAR(24) COLLATE NOCASE NOT NULL,
  BillID         VARCHAR(20) COLLATE NOCASE NOT NULL,
  SubjectID      VARCHAR(10) COLLATE NOCASE,
  SubjectName    VARCHAR(30) COLLATE NOCASE,
  PaySum         NUMERIC DEFAULT 0,
  ExchangeRate   NUMERIC DEFAULT 1,
  SumPaid        NUMERIC DEFAULT 0,
  CreateTime     TEXT
);
CREATE TABLE bi_BillLog (
  LogID          VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE,
  TableID        VARCHAR(10) COLLATE NOCASE,
  TableName      VARCHAR(30) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT,
  LogTypeID      INTEGER,
  LogTypeName    VARCHAR(30) COLLATE NOCASE,
  Remark         VARCHAR(200) COLLATE NOCASE
);
CREATE TABLE bi_TempBillLog (
  LogID          VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE,
  TableID        VARCHAR(10) COLLATE NOCASE,
  TableName      VARCHAR(30) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT,
  LogTypeID      INTEGER,
  LogTypeName    VARCHAR(30) COLLATE NOCASE,
  Remark         VARCHAR(200) COLLATE NOCASE
);
CREATE TABLE bi_BillAccount (
  BillAccountID  VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillID         VARCHAR(20) COLLATE NOCASE,
  BillDate       TEXT,
  AccountType    VARCHAR(20) COLLATE NOCASE,
  SubjectID      VARCHAR(10) COLLATE NOCASE,
  SubjectName    VARCHAR(30) COLLATE NOCASE,
  AccountID      VARCHAR(20) COLLATE NOCASE,
  AccountName    VARCHAR(50) COLLATE NOCASE,
  Amount         NUMERIC DEFAULT 0,
  UserID         VARCHAR(20) COLLATE NOCASE,
  UserName       VARCHAR(30) COLLATE NOCASE,
  PeriodName     VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT
);
CREATE TABLE bi_Expense (
  BillDate       TEXT,
  Expense        NUMERIC
);
CREATE TABLE bi_ExpenseItem (
  BillDate       TEXT,
  Expense        NUMERIC,
  ExpenseID      VARCHAR(10) COLLATE NOCASE,
  ExpenseName    VARCHAR(50) COLLATE NOCASE,
  ListIndex      INTEGER
);

-- Data uploaded by branches ------------------------------------------------------------------
CREATE TABLE rp_BillItem_Upload (
  BillDate       TEXT,
  BranchID       VARCHAR(20) COLLATE NOCASE,
  BranchName     VARCHAR(50) COLLATE NOCASE,
  DepartTypeID   VARCHAR(10) COLLATE NOCASE,
  DepartTypeName VARCHAR(30) COLLATE NOCASE,
  MenuTypeID     VARCHAR(10) COLLATE NOCASE,
  MenuTypeName   VARCHAR(30) COLLATE NOCASE,
  DepartName     VARCHAR(30) COLLATE NOCASE,
  MenuID         VARCHAR(20) COLLATE NOCASE,
  MenuName       VARCHAR(50) COLLATE NOCASE,
  MenuUnitName   VARCHAR(10) COLLATE NOCASE,
  theAmount      NUMERIC DEFAULT 0,
  theConsume     NUMERIC DEFAULT 0,
  theService     NUMERIC DEFAULT 0,
  theDiscount    NUMERIC DEFAULT 0
);
CREATE TABLE rp_BillPayment_Upload (
  BillDate       TEXT,
  BranchID       VARCHAR(20) COLLATE NOCASE,
  BranchName     VARCHAR(50) COLLATE NOCASE,
  SubjectID      VARCHAR(10) COLLATE NOCASE,
  SubjectName    VARCHAR(30) COLLATE NOCASE,
  thePaySum      NUMERIC DEFAULT 0,
  theSumPaid     NUMERIC DEFAULT 0
);
CREATE TABLE rp_Inventory_Upload (
  ItemID         VARCHAR(20) COLLATE NOCASE,
  ItemName       VARCHAR(50) COLLATE NOCASE,
  ToSpell        VARCHAR(20) COLLATE NOCASE,
  Spec           VARCHAR(30) COLLATE NOCASE,
  ItemTypeID     VARCHAR(10) COLLATE NOCASE,
  ItemTypeName   VARCHAR(30) COLLATE NOCASE,
  StockType      VARCHAR(20) COLLATE NOCASE,
  Unit           VARCHAR(10) COLLATE NOCASE,
  UnitPrice      NUMERIC DEFAULT 0,
  BranchID       VARCHAR(20) COLLATE NOCASE,
  BranchName     VARCHAR(50) COLLATE NOCASE,
  OnHandQty      NUMERIC DEFAULT 0,
  OnHandSum      NUMERIC DEFAULT 0,
  MinQty         NUMERIC DEFAULT 0,
  MaxQty         NUMERIC DEFAULT 0
);

-- Stock --------------------------------------------------------------------------------------
CREATE TABLE st_Bill (
  BillID         VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  BillDate       TEXT,
  BillTypeID     INTEGER,
  [FROM]         VARCHAR(30) COLLATE NOCASE,
  [Into]         VARCHAR(30) COLLATE NOCASE,
  TotalSum       NUMERIC DEFAULT 0,
  StockName      VARCHAR(50) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  Remark         VARCHAR(200) COLLATE NOCASE
);
CREATE TABLE st_BOM (
  BillDate       TEXT,
  BranchID       VARCHAR(20) COLLATE NOCASE,
  BranchName     VARCHAR(50) COLLATE NOCASE,
  ItemID         VARCHAR(20) COLLATE NOCASE,
  ItemName       VARCHAR(50) COLLATE NOCASE,
  Spec           VARCHAR(30) COLLATE NOCASE,
  Unit           VARCHAR(10) COLLATE NOCASE,
  ItemTypeID     VARCHAR(10) COLLATE NOCASE,
  ItemTypeName   VARCHAR(30) COLLATE NOCASE,
  QtyUse         NUMERIC DEFAULT 0,
  QtyBom         NUMERIC DEFAULT 0
);

-- Members and accounts -----------------------------------------------------------------------
CREATE TABLE mb_MemberType (
  MemberTypeID   VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  MemberTypeName VARCHAR(30) COLLATE NOCASE,
  DiscountRate   NUMERIC DEFAULT 1
);
CREATE TABLE mb_MemberInfo (
  MemberID       VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  MemberCardID   VARCHAR(30) COLLATE NOCASE,
  MemberTypeID   VARCHAR(10) COLLATE NOCASE,
  MemberTypeName VARCHAR(30) COLLATE NOCASE,
  MemberName     VARCHAR(30) COLLATE NOCASE,
  Sex            VARCHAR(4) COLLATE NOCASE,
  BirthDate      TEXT,
  BirthMonth     INTEGER,
  BirthDay       INTEGER,
  PhoneNumber    VARCHAR(30) COLLATE NOCASE,
  MobileNumber   VARCHAR(30) COLLATE NOCASE,
  ConsumeSum     NUMERIC DEFAULT 0,
  ConsumeCount   INTEGER DEFAULT 0,
  IntegralSum    NUMERIC DEFAULT 0,
  Balance        NUMERIC DEFAULT 0,
  LockFlag       INTEGER DEFAULT 0,
  IsNewCard      INTEGER DEFAULT 0,
  LimitTime      TEXT,
  CreateTime     TEXT,
  BranchID       VARCHAR(20) COLLATE NOCASE
);
CREATE TABLE mb_Summary (
  SummaryID      VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  MemberID       VARCHAR(20) COLLATE NOCASE,
  MemberCardID   VARCHAR(30) COLLATE NOCASE,
  MemberName     VARCHAR(30) COLLATE NOCASE,
  MemberTypeName VARCHAR(30) COLLATE NOCASE,
  SummaryName    VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT,
  CreatePlace    VARCHAR(50) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  LimitTime      TEXT,
  Expense        NUMERIC DEFAULT 0,
  SumPaid        NUMERIC DEFAULT 0,
  IntegralChange NUMERIC DEFAULT 0,
  BillID         VARCHAR(20) COLLATE NOCASE,
  Remark         VARCHAR(200) COLLATE NOCASE
);
CREATE TABLE ac_AccountType (
  AccountTypeID   VARCHAR(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
  AccountTypeName VARCHAR(30) COLLATE NOCASE
);
CREATE TABLE ac_Account (
  AccountID      VARCHAR(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
  AccountName    VARCHAR(50) COLLATE NOCASE,
  AccountTypeID  VARCHAR(10) COLLATE NOCASE,
  Balance        NUMERIC DEFAULT 0,
  CreditLimit    NUMERIC DEFAULT 0,
  LinkMan        VARCHAR(30) COLLATE NOCASE,
  PhoneNumber    VARCHAR(30) COLLATE NOCASE
);
CREATE TABLE ac_Payment (
  PaymentID      VARCHAR(24) COLLATE NOCASE NOT NULL PRIMARY KEY,
  AccountID      VARCHAR(20) COLLATE NOCASE,
  PaymentType    INTEGER DEFAULT 0,
  BillID         VARCHAR(20) COLLATE NOCASE,
  BillDate       TEXT,
  Amount         NUMERIC DEFAULT 0,
  CreatePersonID VARCHAR(20) COLLATE NOCASE,
  CreatePerson   VARCHAR(30) COLLATE NOCASE,
  CreateTime     TEXT,
  Remark         VARCHAR(200) COLLATE NOCASE
);

-- @indexes (the demo generator creates these after its bulk load)
CREATE INDEX ix_bi_Bill_BillDate ON bi_Bill (BillDate);
CREATE INDEX ix_bi_Bill_Branch ON bi_Bill (BranchID, BillDate);
CREATE INDEX ix_bi_Bill_Member ON bi_Bill (MemberID);
CREATE INDEX ix_bi_Bill_Original ON bi_Bill (OriginalID);
CREATE INDEX ix_bi_BillItem_BillID ON bi_BillItem (BillID);
CREATE INDEX ix_bi_BillPayment_BillID ON bi_BillPayment (BillID);
-- Covering indexes for the period sums of the daily report (bills of a date range joined to their
-- item lines and payments): the joined rows are read from the index, never from the wide tables.
CREATE INDEX ix_bi_Bill_BranchCover ON bi_Bill (BranchID, BillDate, CheckOutNull, IsDeleted, BillID);
CREATE INDEX ix_bi_Bill_DateCover ON bi_Bill (BillDate, CheckOutNull, IsDeleted, BillID);
CREATE INDEX ix_bi_BillItem_Sales ON bi_BillItem (BillID, IsSentMenu, DepartTypeName, SumOfConsume, DepartTypeID, MenuTypeID, MenuID, CostPrice, AmountOrder, AmountCancel);
CREATE INDEX ix_bi_BillPayment_Subject ON bi_BillPayment (BillID, SubjectID, SumPaid);
CREATE INDEX ix_bi_SubBill_BillItemID ON bi_SubBill (BillItemID);
-- The returns (SubBillType 2) of a range found from their own rows: a scan of the item lines
-- finds the few returned among millions.
CREATE INDEX ix_bi_SubBill_Type ON bi_SubBill (SubBillType, BillItemID);
CREATE INDEX ix_bi_UnCheckBill_BillID ON bi_UnCheckBill (BillID);
CREATE INDEX ix_bi_UnCheckBillItem_ID ON bi_UnCheckBillItem (UnCheckBillID);
CREATE INDEX ix_bi_UnCheckBillPayment_ID ON bi_UnCheckBillPayment (UnCheckBillID);
CREATE INDEX ix_bi_BillLog_CreateTime ON bi_BillLog (CreateTime);
CREATE INDEX ix_bi_TempBillLog_CreateTime ON bi_TempBillLog (CreateTime);
CREATE INDEX ix_bi_BillAccount_BillDate ON bi_BillAccount (BillDate);
CREATE INDEX ix_bi_Expense_BillDate ON bi_Expense (BillDate);
CREATE INDEX ix_bi_ExpenseItem_BillDate ON bi_ExpenseItem (BillDate);
CREATE INDEX ix_rp_BillItem_Upload_Date ON rp_BillItem_Upload (BillDate, BranchID);
CREATE INDEX ix_rp_BillPayment_Upload_Date ON rp_BillPayment_Upload (BillDate, BranchID);
CREATE INDEX ix_rp_Inventory_Upload_Branch ON rp_Inventory_Upload (BranchID, ItemID);
CREATE INDEX ix_st_Bill_BillDate ON st_Bill (BillDate);
CREATE INDEX ix_st_BOM_BillDate ON st_BOM (BillDate, BranchID);
CREATE INDEX ix_mb_MemberInfo_Card ON mb_MemberInfo (MemberCardID);
CREATE INDEX ix_mb_Summary_CreateTime ON mb_Summary (CreateTime);
CREATE INDEX ix_ac_Payment_BillDate ON ac_Payment (BillDate);
CREATE INDEX ix_ac_Payment_Account ON ac_Payment (AccountID);
CREATE INDEX ix_tb_Book_ArriveTime ON tb_Book (ArriveTime);
CREATE INDEX ix_rpt_pv_Branch_User ON rpt_pv_Branch (UserID);
CREATE INDEX ix_rpt_pv_Area_User ON rpt_pv_Area (UserID);
