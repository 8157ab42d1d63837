-- Restaurant database, Microsoft SQL Server flavour (a case-insensitive collation is assumed).
-- Amounts are decimal(18,4), dates datetime. Kept column for column in step with sqlite.sql.

-- Branches, areas, users and privileges ------------------------------------------------------
CREATE TABLE mnt_dd_Area (
  AreaID        nvarchar(20) NOT NULL PRIMARY KEY,
  AreaName      nvarchar(50)
);
CREATE TABLE rpt_dd_Branch (
  BranchID      nvarchar(20) NOT NULL PRIMARY KEY,
  BranchName    nvarchar(50),
  AreaID        nvarchar(20),
  AreaName      nvarchar(50),
  Address       nvarchar(100),
  PhoneNumber   nvarchar(30)
);
CREATE TABLE mnt_dd_Branch (
  BranchID      nvarchar(20) NOT NULL PRIMARY KEY,
  BranchName    nvarchar(50),
  AreaID        nvarchar(20)
);
CREATE TABLE dd_Branch (
  BranchID      nvarchar(20) NOT NULL PRIMARY KEY,
  BranchName    nvarchar(50)
);
CREATE TABLE pv_UserGroup (
  UserGroupID   nvarchar(20) NOT NULL PRIMARY KEY,
  UserGroupName nvarchar(50)
);
CREATE TABLE pv_User (
  UserID        nvarchar(20) NOT NULL PRIMARY KEY,
  UserName      nvarchar(50),
  UserGroupID   nvarchar(20),
  Password      nvarchar(50),
  IsLocked      int DEFAULT 0
);
CREATE TABLE rpt_pv_Branch (
  UserID        nvarchar(20) NOT NULL,
  BranchID      nvarchar(20) NOT NULL
);
CREATE TABLE rpt_pv_Area (
  UserID        nvarchar(20) NOT NULL,
  AreaID        nvarchar(20) NOT NULL
);

-- Dictionaries -------------------------------------------------------------------------------
CREATE TABLE dd_Period (
  PeriodID      nvarchar(10) NOT NULL PRIMARY KEY,
  PeriodName    nvarchar(30),
  BeginTime     nvarchar(8),
  EndTime       nvarchar(8)
);
CREATE TABLE dd_Subject (
  SubjectID     nvarchar(10) NOT NULL PRIMARY KEY,
  SubjectName   nvarchar(30),
  BalanceType   int DEFAULT 0,
  IsVisible     int DEFAULT 1,
  ExchangeRate  decimal(18,4) DEFAULT 1,
  ListIndex     int DEFAULT 0
);
CREATE TABLE dd_Reason (
  ReasonID      nvarchar(10) NOT NULL PRIMARY KEY,
  ReasonName    nvarchar(50)
);
CREATE TABLE dd_Discount (
  DiscountID    nvarchar(10) NOT NULL PRIMARY KEY,
  DiscountName  nvarchar(30),
  DiscountRate  decimal(18,4) DEFAULT 1
);
CREATE TABLE dd_Expense (
  ExpenseID     nvarchar(10),
  ExpenseName   nvarchar(50),
  ListIndex     int
);

-- Menu ---------------------------------------------------------------------------------------
CREATE TABLE mn_DepartType (
  DepartTypeID   nvarchar(10) NOT NULL PRIMARY KEY,
  DepartTypeName nvarchar(30),
  ListIndex      int DEFAULT 0
);
CREATE TABLE mn_Depart (
  DepartID      nvarchar(10) NOT NULL PRIMARY KEY,
  DepartName    nvarchar(30),
  DepartTypeID  nvarchar(10)
);
CREATE TABLE mn_MenuType (
  MenuTypeID    nvarchar(10) NOT NULL PRIMARY KEY,
  MenuTypeName  nvarchar(30),
  DepartTypeID  nvarchar(10),
  PrintPRI      int DEFAULT 0
);
CREATE TABLE mn_Menu (
  MenuID        nvarchar(20) NOT NULL PRIMARY KEY,
  MenuName      nvarchar(50),
  ToSpell       nvarchar(20),
  BarCode       nvarchar(30),
  MenuTypeID    nvarchar(10),
  MenuUnit      nvarchar(10),
  MenuPrice1    decimal(18,4) DEFAULT 0,
  MenuPrice2    decimal(18,4) DEFAULT 0,
  MenuPrice3    decimal(18,4) DEFAULT 0,
  MenuPrice4    decimal(18,4) DEFAULT 0,
  CostPrice     decimal(18,4) DEFAULT 0,
  IsMenuSets    int DEFAULT 0,
  BySeanson     int DEFAULT 0,
  IsService     int DEFAULT 0,
  [IsNull]      int DEFAULT 0,
  IsTableOrder  int DEFAULT 0,
  IsPersonOrder int DEFAULT 0,
  NeedToPrint   int DEFAULT 0,
  AutoSaleOut   int DEFAULT 0,
  IsDiscount    int DEFAULT 1
);
CREATE TABLE mn_MenuUnit (
  MenuUnitID         nvarchar(24) NOT NULL PRIMARY KEY,
  MenuID             nvarchar(20) NOT NULL,
  MenuUnitName       nvarchar(10),
  PriceForDefault    decimal(18,4) DEFAULT 0,
  PriceForRoom       decimal(18,4) DEFAULT 0,
  PriceForMember     decimal(18,4) DEFAULT 0,
  PriceForRoomMember decimal(18,4) DEFAULT 0,
  PriceForCost       decimal(18,4) DEFAULT 0
);
CREATE TABLE mn_SpecailType (
  SpecailTypeID   nvarchar(10) NOT NULL PRIMARY KEY,
  SpecailTypeName nvarchar(30),
  ListIndex       int DEFAULT 0
);
CREATE TABLE mn_GroupType (
  GroupTypeID   nvarchar(10),
  GroupTypeName nvarchar(30),
  ListIndex     int
);
CREATE TABLE mn_GroupItem (
  GroupTypeID   nvarchar(10),
  GroupItemID   nvarchar(20),
  GroupItemType nvarchar(20)
);

-- Tables and bookings ------------------------------------------------------------------------
CREATE TABLE tb_TableArea (
  TableAreaID   nvarchar(10) NOT NULL PRIMARY KEY,
  TableAreaName nvarchar(30),
  BranchID      nvarchar(20)
);
CREATE TABLE tb_Table (
  TableID       nvarchar(10) NOT NULL PRIMARY KEY,
  TableName     nvarchar(30),
  TableFullName nvarchar(50),
  TableAreaID   nvarchar(10),
  SeatCount     int DEFAULT 4,
  IsRoom        int DEFAULT 0
);
CREATE TABLE tb_Book (
  BookID        nvarchar(20) NOT NULL PRIMARY KEY,
  TableID       nvarchar(10),
  CreatePerson  nvarchar(30),
  BookPerson    nvarchar(30),
  PhoneNumber   nvarchar(30),
  BookType      nvarchar(20),
  ArriveTime    datetime,
  BookTime      datetime,
  Period        nvarchar(30),
  PeopleCout    int DEFAULT 0,
  Prepay        decimal(18,4) DEFAULT 0,
  Paid          decimal(18,4) DEFAULT 0,
  Status        int DEFAULT 0,
  BranchID      nvarchar(20),
  Remark        nvarchar(200)
);

-- Bills --------------------------------------------------------------------------------------
CREATE TABLE bi_Bill (
  BillID           nvarchar(20) NOT NULL PRIMARY KEY,
  OriginalID       nvarchar(20),
  BillDate         datetime,
  BillPeriod       nvarchar(30),
  TableID          nvarchar(10),
  TableName        nvarchar(30),
  TableFullName    nvarchar(50),
  TableAreaID      nvarchar(10),
  TableAreaName    nvarchar(30),
  PeopleCount      int DEFAULT 0,
  CreatePersonID   nvarchar(20),
  CreatePerson     nvarchar(30),
  CreateTime       datetime,
  ChargePersonID   nvarchar(20),
  ChargePerson     nvarchar(30),
  CheckOutPersonID nvarchar(20),
  CheckOutPerson   nvarchar(30),
  CheckOutTime     datetime,
  ShiftID          nvarchar(20),
  SumOfConsume     decimal(18,4) DEFAULT 0,
  ServiceRate      decimal(18,4) DEFAULT 0,
  SumOfService     decimal(18,4) DEFAULT 0,
  DiscountID       nvarchar(10),
  DiscountName     nvarchar(30),
  DiscountRate     decimal(18,4) DEFAULT 1,
  DiscountPerson   nvarchar(30),
  SumForDiscount   decimal(18,4) DEFAULT 0,
  SumToPay         decimal(18,4) DEFAULT 0,
  SumPaid          decimal(18,4) DEFAULT 0,
  SumInCash        decimal(18,4) DEFAULT 0,
  SumOfInvoice     decimal(18,4) DEFAULT 0,
  PrintCount       int DEFAULT 1,
  CheckOutNull     int DEFAULT 0,
  IsDeleted        int DEFAULT 0,
  MemberID         nvarchar(20),
  MemberCardID     nvarchar(30),
  BranchID         nvarchar(20),
  BranchName       nvarchar(50),
  Remark           nvarchar(200)
);
CREATE TABLE bi_BillItem (
  BillItemID     nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20) NOT NULL,
  MenuID         nvarchar(20),
  MenuName       nvarchar(50),
  MenuUnitID     nvarchar(24),
  MenuUnitName   nvarchar(10),
  MenuTypeID     nvarchar(10),
  MenuTypeName   nvarchar(30),
  DepartTypeID   nvarchar(10),
  DepartTypeName nvarchar(30),
  DepartID       nvarchar(10),
  DepartName     nvarchar(30),
  MenuPrice      decimal(18,4) DEFAULT 0,
  MenuPrice2     decimal(18,4) DEFAULT 0,
  CostPrice      decimal(18,4) DEFAULT 0,
  CookWay        nvarchar(50),
  SumOfCookway   decimal(18,4) DEFAULT 0,
  AmountOrder    decimal(18,4) DEFAULT 0,
  AmountCancel   decimal(18,4) DEFAULT 0,
  IsSentMenu     int DEFAULT 0,
  SumOfConsume   decimal(18,4) DEFAULT 0,
  SumOfService   decimal(18,4) DEFAULT 0,
  SumForDiscount decimal(18,4) DEFAULT 0,
  CreatePersonID nvarchar(20),
  CreatePerson   nvarchar(30),
  CreateTime     datetime
);
CREATE TABLE bi_BillPayment (
  BillPaymentID  nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20) NOT NULL,
  SubjectID      nvarchar(10),
  SubjectName    nvarchar(30),
  PaySum         decimal(18,4) DEFAULT 0,
  ExchangeRate   decimal(18,4) DEFAULT 1,
  SumPaid        decimal(18,4) DEFAULT 0,
  CreateTime     datetime
);
CREATE TABLE bi_SubBill (
  SubBillID      nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20),
  BillItemID     nvarchar(24),
  SubBillType    int DEFAULT 2,
  MenuAmount     decimal(18,4) DEFAULT 0,
  CreatePerson   nvarchar(30),
  CreateTime     datetime,
  Remark         nvarchar(200)
);
CREATE TABLE bi_UnCheckBill (
  UnCheckBillID  nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20) NOT NULL,
  UnCheckTime    datetime,
  UnCheckPerson  nvarchar(30),
  SumPaid        decimal(18,4) DEFAULT 0
);
CREATE TABLE bi_UnCheckBillItem (
  UnCheckBillID  nvarchar(24) NOT NULL,
  BillItemID     nvarchar(24) NOT NULL,
  BillID         nvarchar(20) NOT NULL,
  MenuID         nvarchar(20),
  MenuName       nvarchar(50),
  MenuUnitID     nvarchar(24),
  MenuUnitName   nvarchar(10),
  MenuTypeID     nvarchar(10),
  MenuTypeName   nvarchar(30),
  DepartTypeID   nvarchar(10),
  DepartTypeName nvarchar(30),
  DepartID       nvarchar(10),
  DepartName     nvarchar(30),
  MenuPrice      decimal(18,4) DEFAULT 0,
  MenuPrice2     decimal(18,4) DEFAULT 0,
  CostPrice      decimal(18,4) DEFAULT 0,
  CookWay        nvarchar(50),
  SumOfCookway   decimal(18,4) DEFAULT 0,
  AmountOrder    decimal(18,4) DEFAULT 0,
  AmountCancel   decimal(18,4) DEFAULT 0,
  IsSentMenu     int DEFAULT 0,
  SumOfConsume   decimal(18,4) DEFAULT 0,
  SumOfService   decimal(18,4) DEFAULT 0,
  SumForDiscount decimal(18,4) DEFAULT 0,
  CreatePersonID nvarchar(20),
  CreatePerson   nvarchar(30),
  CreateTime     datetime
);
CREATE TABLE bi_UnCheckBillPayment (
  UnCheckBillID  nvarchar(24) NOT NULL,
  BillPaymentID  nvarchar(24) NOT NULL,
  BillID         nvarchar(20) NOT NULL,
  SubjectID      nvarchar(10),
  SubjectName    nvarchar(30),
  PaySum         decimal(18,4) DEFAULT 0,
  ExchangeRate   decimal(18,4) DEFAULT 1,
  SumPaid        decimal(18,4) DEFAULT 0,
  CreateTime     datetime
);
CREATE TABLE bi_BillLog (
  LogID          nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20),
  TableID        nvarchar(10),
  TableName      nvarchar(30),
  CreatePerson   nvarchar(30),
  CreateTime     datetime,
  LogTypeID      int,
  LogTypeName    nvarchar(30),
  Remark         nvarchar(200)
);
CREATE TABLE bi_TempBillLog (
  LogID          nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20),
  TableID        nvarchar(10),
  TableName      nvarchar(30),
  CreatePerson   nvarchar(30),
  CreateTime     datetime,
  LogTypeID      int,
  LogTypeName    nvarchar(30),
  Remark         nvarchar(200)
);
CREATE TABLE bi_BillAccount (
  BillAccountID  nvarchar(24) NOT NULL PRIMARY KEY,
  BillID         nvarchar(20),
  BillDate       datetime,
  AccountType    nvarchar(20),
  SubjectID      nvarchar(10),
  SubjectName    nvarchar(30),
  AccountID      nvarchar(20),
  AccountName    nvarchar(50),
  Amount         decimal(18,4) DEFAULT 0,
  UserID         nvarchar(20),
  UserName       nvarchar(30),
  PeriodName     nvarchar(30),
  CreateTime     datetime
);
CREATE TABLE bi_Expense (
  BillDate       datetime,
  Expense        decimal(18,4)
);
CREATE TABLE bi_ExpenseItem (
  BillDate       datetime,
  Expense        decimal(18,4),
  ExpenseID      nvarchar(10),
  ExpenseName    nvarchar(50),
  ListIndex      int
);

-- Data uploaded by branches ------------------------------------------------------------------
CREATE TABLE rp_BillItem_Upload (
  BillDate       datetime,
  BranchID       nvarchar(20),
  BranchName     nvarchar(50),
  DepartTypeID   nvarchar(10),
  DepartTypeName nvarchar(30),
  MenuTypeID     nvarchar(10),
  MenuTypeName   nvarchar(30),
  DepartName     nvarchar(30),
  MenuID         nvarchar(20),
  MenuName       nvarchar(50),
  MenuUnitName   nvarchar(10),
  theAmount      decimal(18,4) DEFAULT 0,
  theConsume     decimal(18,4) DEFAULT 0,
  theService     decimal(18,4) DEFAULT 0,
  theDiscount    decimal(18,4) DEFAULT 0
);
CREATE TABLE rp_BillPayment_Upload (
  BillDate       datetime,
  BranchID       nvarchar(20),
  BranchName     nvarchar(50),
  SubjectID      nvarchar(10),
  SubjectName    nvarchar(30),
  thePaySum      decimal(18,4) DEFAULT 0,
  theSumPaid     decimal(18,4) DEFAULT 0
);
CREATE TABLE rp_Inventory_Upload (
  ItemID         nvarchar(20),
  ItemName       nvarchar(50),
  ToSpell        nvarchar(20),
  Spec           nvarchar(30),
  ItemTypeID     nvarchar(10),
  ItemTypeName   nvarchar(30),
  StockType      nvarchar(20),
  Unit           nvarchar(10),
  UnitPrice      decimal(18,4) DEFAULT 0,
  BranchID       nvarchar(20),
  BranchName     nvarchar(50),
  OnHandQty      decimal(18,4) DEFAULT 0,
  OnHandSum      decimal(18,4) DEFAULT 0,
  MinQty         decimal(18,4) DEFAULT 0,
  MaxQty         decimal(18,4) DEFAULT 0
);

-- Stock --------------------------------------------------------------------------------------
CREATE TABLE st_Bill (
  BillID         nvarchar(24) NOT NULL PRIMARY KEY,
  BillDate       datetime,
  BillTypeID     int,
  [FROM]         nvarchar(30),
  [Into]         nvarchar(30),
  TotalSum       decimal(18,4) DEFAULT 0,
  StockName      nvarchar(50),
  CreatePerson   nvarchar(30),
  Remark         nvarchar(200)
);
CREATE TABLE st_BOM (
  BillDate       datetime,
  BranchID       nvarchar(20),
  BranchName     nvarchar(50),
  ItemID         nvarchar(20),
  ItemName       nvarchar(50),
  Spec           nvarchar(30),
  Unit           nvarchar(10),
  ItemTypeID     nvarchar(10),
  ItemTypeName   nvarchar(30),
  QtyUse         decimal(18,4) DEFAULT 0,
  QtyBom         decimal(18,4) DEFAULT 0
);

-- Members and accounts -----------------------------------------------------------------------
CREATE TABLE mb_MemberType (
  MemberTypeID   nvarchar(10) NOT NULL PRIMARY KEY,
  MemberTypeName nvarchar(30),
  DiscountRate   decimal(18,4) DEFAULT 1
);
CREATE TABLE mb_MemberInfo (
  MemberID       nvarchar(20) NOT NULL PRIMARY KEY,
  MemberCardID   nvarchar(30),
  MemberTypeID   nvarchar(10),
  MemberTypeName nvarchar(30),
  MemberName     nvarchar(30),
  Sex            nvarchar(4),
  BirthDate      datetime,
  BirthMonth     int,
  BirthDay       int,
  PhoneNumber    nvarchar(30),
  MobileNumber   nvarchar(30),
  ConsumeSum     decimal(18,4) DEFAULT 0,
  ConsumeCount   int DEFAULT 0,
  IntegralSum    decimal(18,4) DEFAULT 0,
  Balance        decimal(18,4) DEFAULT 0,
  LockFlag       int DEFAULT 0,
  IsNewCard      int DEFAULT 0,
  LimitTime      datetime,
  CreateTime     datetime,
  BranchID       nvarchar(20)
);
CREATE TABLE mb_Summary (
  SummaryID      nvarchar(24) NOT NULL PRIMARY KEY,
  MemberID       nvarchar(20),
  MemberCardID   nvarchar(30),
  MemberName     nvarchar(30),
  MemberTypeName nvarchar(30),
  SummaryName    nvarchar(30),
  CreateTime     datetime,
  CreatePlace    nvarchar(50),
  CreatePerson   nvarchar(30),
  LimitTime      datetime,
  Expense        decimal(18,4) DEFAULT 0,
  SumPaid        decimal(18,4) DEFAULT 0,
  IntegralChange decimal(18,4) DEFAULT 0,
  BillID         nvarchar(20),
  Remark         nvarchar(200)
);
CREATE TABLE ac_AccountType (
  AccountTypeID   nvarchar(10) NOT NULL PRIMARY KEY,
  AccountTypeName nvarchar(30)
);
CREATE TABLE ac_Account (
  AccountID      nvarchar(20) NOT NULL PRIMARY KEY,
  AccountName    nvarchar(50),
  AccountTypeID  nvarchar(10),
  Balance        decimal(18,4) DEFAULT 0,
  CreditLimit    decimal(18,4) DEFAULT 0,
  LinkMan        nvarchar(30),
  PhoneNumber    nvarchar(30)
);
CREATE TABLE ac_Payment (
  PaymentID      nvarchar(24) NOT NULL PRIMARY KEY,
  AccountID      nvarchar(20),
  PaymentType    int DEFAULT 0,
  BillID         nvarchar(20),
  BillDate       datetime,
  Amount         decimal(18,4) DEFAULT 0,
  CreatePersonID nvarchar(20),
  CreatePerson   nvarchar(30),
  CreateTime     datetime,
  Remark         nvarchar(200)
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
CREATE INDEX ix_bi_Bill_BranchCover ON bi_Bill (BranchID, BillDate, CheckOutNull, IsDeleted) INCLUDE (BillID);
CREATE INDEX ix_bi_Bill_DateCover ON bi_Bill (BillDate, CheckOutNull, IsDeleted) INCLUDE (BillID);
CREATE INDEX ix_bi_BillItem_Sales ON bi_BillItem (BillID, IsSentMenu, DepartTypeName) INCLUDE (SumOfConsume, DepartTypeID, MenuTypeID, MenuID, CostPrice, AmountOrder, AmountCancel);
CREATE INDEX ix_bi_BillPayment_Subject ON bi_BillPayment (BillID, SubjectID) INCLUDE (SumPaid);
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
