-- Restaurant database, PostgreSQL flavour. Kept column for column in step with mssql.sql and
-- sqlite.sql. Names are created quoted, in the case the statements write them (the translation
-- quotes them the same way, so result columns keep that case); texts are citext in the C
-- collation: they compare without regard to ASCII letter case and order by code point, as SQLite's
-- NOCASE columns do; amounts are numeric(18,4); dates timestamp(0).
CREATE EXTENSION IF NOT EXISTS citext;

-- T-SQL functions the screens call, made here rather than by rewriting the statements' text: the
-- translation keeps their names and arguments as written (the date-part word becomes text), and
-- one definition serves every statement. Each has a timestamp and a text form, so that a date
-- bound as text, or written as a literal, is read as the same date. Week days count from Sunday
-- (SQL Server's default DATEFIRST 7), weeks from the week of 1 January.
CREATE OR REPLACE FUNCTION getdate() RETURNS timestamp LANGUAGE sql STABLE
  AS $$ SELECT localtimestamp(0) $$;
CREATE OR REPLACE FUNCTION datepart(part text, d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE
    WHEN lower(part) IN ('yy', 'yyyy', 'year') THEN extract(year FROM d)::integer
    WHEN lower(part) IN ('qq', 'q', 'quarter') THEN extract(quarter FROM d)::integer
    WHEN lower(part) IN ('mm', 'm', 'month') THEN extract(month FROM d)::integer
    WHEN lower(part) IN ('dy', 'y', 'dayofyear') THEN extract(doy FROM d)::integer
    WHEN lower(part) IN ('dd', 'd', 'day') THEN extract(day FROM d)::integer
    WHEN lower(part) IN ('wk', 'ww', 'week')
      THEN (extract(doy FROM d)::integer - 1 + extract(dow FROM date_trunc('year', d))::integer) / 7 + 1
    WHEN lower(part) IN ('dw', 'w', 'weekday') THEN extract(dow FROM d)::integer + 1
    WHEN lower(part) IN ('hh', 'hour') THEN extract(hour FROM d)::integer
    WHEN lower(part) IN ('mi', 'n', 'minute') THEN extract(minute FROM d)::integer
    WHEN lower(part) IN ('ss', 's', 'second') THEN floor(extract(second FROM d))::integer
  END $$;
CREATE OR REPLACE FUNCTION datepart(part text, d text) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT datepart(part, d::timestamp) $$;
-- Boundaries crossed between a and b, as SQL Server counts them.
CREATE OR REPLACE FUNCTION datediff(part text, a timestamp, b timestamp) RETURNS bigint
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE
    WHEN lower(part) IN ('yy', 'yyyy', 'year') THEN extract(year FROM b) - extract(year FROM a)
    WHEN lower(part) IN ('qq', 'q', 'quarter')
      THEN (extract(year FROM b) * 4 + extract(quarter FROM b)) - (extract(year FROM a) * 4 + extract(quarter FROM a))
    WHEN lower(part) IN ('mm', 'm', 'month')
      THEN (extract(year FROM b) * 12 + extract(month FROM b)) - (extract(year FROM a) * 12 + extract(month FROM a))
    WHEN lower(part) IN ('dy', 'y', 'dayofyear', 'dd', 'd', 'day', 'dw', 'w', 'weekday')
      THEN b::date - a::date
    WHEN lower(part) IN ('wk', 'ww', 'week')
      THEN floor((b::date - date '1970-01-01' + 4) / 7.0) - floor((a::date - date '1970-01-01' + 4) / 7.0)
    WHEN lower(part) IN ('hh', 'hour')
      THEN floor(extract(epoch FROM b) / 3600) - floor(extract(epoch FROM a) / 3600)
    WHEN lower(part) IN ('mi', 'n', 'minute')
      THEN floor(extract(epoch FROM b) / 60) - floor(extract(epoch FROM a) / 60)
    WHEN lower(part) IN ('ss', 's', 'second')
      THEN floor(extract(epoch FROM b)) - floor(extract(epoch FROM a))
  END::bigint $$;
CREATE OR REPLACE FUNCTION datediff(part text, a text, b text) RETURNS bigint LANGUAGE sql IMMUTABLE
  AS $$ SELECT datediff(part, a::timestamp, b::timestamp) $$;
CREATE OR REPLACE FUNCTION dateadd(part text, n bigint, d timestamp) RETURNS timestamp
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE
    WHEN lower(part) IN ('yy', 'yyyy', 'year') THEN d + make_interval(years => n::integer)
    WHEN lower(part) IN ('qq', 'q', 'quarter') THEN d + make_interval(months => 3 * n::integer)
    WHEN lower(part) IN ('mm', 'm', 'month') THEN d + make_interval(months => n::integer)
    WHEN lower(part) IN ('dy', 'y', 'dayofyear', 'dd', 'd', 'day', 'dw', 'w', 'weekday')
      THEN d + make_interval(days => n::integer)
    WHEN lower(part) IN ('wk', 'ww', 'week') THEN d + make_interval(weeks => n::integer)
    WHEN lower(part) IN ('hh', 'hour') THEN d + make_interval(hours => n::integer)
    WHEN lower(part) IN ('mi', 'n', 'minute') THEN d + make_interval(mins => n::integer)
    WHEN lower(part) IN ('ss', 's', 'second') THEN d + make_interval(secs => n)
  END $$;
CREATE OR REPLACE FUNCTION dateadd(part text, n bigint, d text) RETURNS timestamp
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT dateadd(part, n, d::timestamp) $$;
CREATE OR REPLACE FUNCTION year(d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(year FROM d)::integer $$;
CREATE OR REPLACE FUNCTION year(d text) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(year FROM d::timestamp)::integer $$;
CREATE OR REPLACE FUNCTION month(d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(month FROM d)::integer $$;
CREATE OR REPLACE FUNCTION month(d text) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(month FROM d::timestamp)::integer $$;
CREATE OR REPLACE FUNCTION day(d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(day FROM d)::integer $$;
CREATE OR REPLACE FUNCTION day(d text) RETURNS integer LANGUAGE sql IMMUTABLE
  AS $$ SELECT extract(day FROM d::timestamp)::integer $$;
-- A date read as text is 'YYYY-MM-DD HH:MM:SS' (as the application reads every date).
CREATE OR REPLACE FUNCTION vtx_text(d timestamp) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT to_char(d, 'YYYY-MM-DD HH24:MI:SS') $$;
CREATE OR REPLACE FUNCTION "left"(d timestamp, n integer) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT "left"(vtx_text(d), n) $$;
CREATE OR REPLACE FUNCTION "right"(d timestamp, n integer) RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT "right"(vtx_text(d), n) $$;
-- convert(varchar(n), value, style): the translation passes the length (-1: none) and the style.
CREATE OR REPLACE FUNCTION vtx_convert_text(d timestamp, n integer, style integer) RETURNS text
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE WHEN n >= 0 THEN "left"(s, n) ELSE s END FROM (SELECT CASE
    WHEN style = 23 THEN to_char(d, 'YYYY-MM-DD')
    WHEN style IN (8, 108) THEN to_char(d, 'HH24:MI:SS')
    WHEN style = 112 THEN to_char(d, 'YYYYMMDD')
    WHEN style = 111 THEN to_char(d, 'YYYY/MM/DD')
    WHEN style = 102 THEN to_char(d, 'YYYY.MM.DD')
    ELSE vtx_text(d) END AS s) AS v $$;
CREATE OR REPLACE FUNCTION vtx_convert_text(v text, n integer, style integer) RETURNS text
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT CASE WHEN n >= 0 THEN "left"(v, n) ELSE v END $$;
CREATE OR REPLACE FUNCTION vtx_convert_text(v double precision, n integer, style integer)
  RETURNS text LANGUAGE sql IMMUTABLE
  AS $$ SELECT vtx_convert_text(v::text, n, style) $$;
CREATE OR REPLACE FUNCTION vtx_convert_text(v numeric, n integer, style integer) RETURNS text
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT vtx_convert_text(v::double precision::text, n, style) $$;
-- Sums of amounts are double precision (as on SQLite): round() takes them as well.
CREATE OR REPLACE FUNCTION round(v double precision, n integer) RETURNS double precision
  LANGUAGE sql IMMUTABLE
  AS $$ SELECT round(v::numeric, n)::double precision $$;
CREATE OR REPLACE FUNCTION vtx_convert_int(v numeric) RETURNS bigint LANGUAGE sql IMMUTABLE
  AS $$ SELECT trunc(v)::bigint $$;
CREATE OR REPLACE FUNCTION vtx_convert_int(v text) RETURNS bigint LANGUAGE sql IMMUTABLE
  AS $$ SELECT trunc(v::numeric)::bigint $$;
-- Branches, areas, users and privileges ------------------------------------------------------
CREATE TABLE "mnt_dd_Area" (
  "AreaID"      citext COLLATE "C" NOT NULL PRIMARY KEY,
  "AreaName"    citext COLLATE "C"
);
CREATE TABLE "rpt_dd_Branch" (
  "BranchID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BranchName"  citext COLLATE "C",
  "AreaID"      citext COLLATE "C",
  "AreaName"    citext COLLATE "C",
  "Address"     citext COLLATE "C",
  "PhoneNumber" citext COLLATE "C"
);
CREATE TABLE "mnt_dd_Branch" (
  "BranchID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BranchName"  citext COLLATE "C",
  "AreaID"      citext COLLATE "C"
);
CREATE TABLE "dd_Branch" (
  "BranchID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BranchName"  citext COLLATE "C"
);
CREATE TABLE "pv_UserGroup" (
  "UserGroupID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "UserGroupName" citext COLLATE "C"
);
CREATE TABLE "pv_User" (
  "UserID"      citext COLLATE "C" NOT NULL PRIMARY KEY,
  "UserName"    citext COLLATE "C",
  "UserGroupID" citext COLLATE "C",
  "Password"    citext COLLATE "C",
  "IsLocked"    integer DEFAULT 0
);
CREATE TABLE "rpt_pv_Branch" (
  "UserID"      citext COLLATE "C" NOT NULL,
  "BranchID"    citext COLLATE "C" NOT NULL
);
CREATE TABLE "rpt_pv_Area" (
  "UserID"      citext COLLATE "C" NOT NULL,
  "AreaID"      citext COLLATE "C" NOT NULL
);

-- Dictionaries -------------------------------------------------------------------------------
CREATE TABLE "dd_Period" (
  "PeriodID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "PeriodName"  citext COLLATE "C",
  "BeginTime"   citext COLLATE "C",
  "EndTime"     citext COLLATE "C"
);
CREATE TABLE "dd_Subject" (
  "SubjectID"   citext COLLATE "C" NOT NULL PRIMARY KEY,
  "SubjectName" citext COLLATE "C",
  "BalanceType" integer DEFAULT 0,
  "IsVisible"   integer DEFAULT 1,
  "ExchangeRate" numeric(18,4) DEFAULT 1,
  "ListIndex"   integer DEFAULT 0
);
CREATE TABLE "dd_Reason" (
  "ReasonID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "ReasonName"  citext COLLATE "C"
);
CREATE TABLE "dd_Discount" (
  "DiscountID"  citext COLLATE "C" NOT NULL PRIMARY KEY,
  "DiscountName" citext COLLATE "C",
  "DiscountRate" numeric(18,4) DEFAULT 1
);
CREATE TABLE "dd_Expense" (
  "ExpenseID"   citext COLLATE "C",
  "ExpenseName" citext COLLATE "C",
  "ListIndex"   integer
);

-- Menu ---------------------------------------------------------------------------------------
CREATE TABLE "mn_DepartType" (
  "DepartTypeID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "DepartTypeName" citext COLLATE "C",
  "ListIndex"    integer DEFAULT 0
);
CREATE TABLE "mn_Depart" (
  "DepartID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "DepartName"  citext COLLATE "C",
  "DepartTypeID" citext COLLATE "C"
);
CREATE TABLE "mn_MenuType" (
  "MenuTypeID"  citext COLLATE "C" NOT NULL PRIMARY KEY,
  "MenuTypeName" citext COLLATE "C",
  "DepartTypeID" citext COLLATE "C",
  "PrintPRI"    integer DEFAULT 0
);
CREATE TABLE "mn_Menu" (
  "MenuID"      citext COLLATE "C" NOT NULL PRIMARY KEY,
  "MenuName"    citext COLLATE "C",
  "ToSpell"     citext COLLATE "C",
  "BarCode"     citext COLLATE "C",
  "MenuTypeID"  citext COLLATE "C",
  "MenuUnit"    citext COLLATE "C",
  "MenuPrice1"  numeric(18,4) DEFAULT 0,
  "MenuPrice2"  numeric(18,4) DEFAULT 0,
  "MenuPrice3"  numeric(18,4) DEFAULT 0,
  "MenuPrice4"  numeric(18,4) DEFAULT 0,
  "CostPrice"   numeric(18,4) DEFAULT 0,
  "IsMenuSets"  integer DEFAULT 0,
  "BySeanson"   integer DEFAULT 0,
  "IsService"   integer DEFAULT 0,
  "IsNull"      integer DEFAULT 0,
  "IsTableOrder" integer DEFAULT 0,
  "IsPersonOrder" integer DEFAULT 0,
  "NeedToPrint" integer DEFAULT 0,
  "AutoSaleOut" integer DEFAULT 0,
  "IsDiscount"  integer DEFAULT 1
);
CREATE TABLE "mn_MenuUnit" (
  "MenuUnitID"       citext COLLATE "C" NOT NULL PRIMARY KEY,
  "MenuID"           citext COLLATE "C" NOT NULL,
  "MenuUnitName"     citext COLLATE "C",
  "PriceForDefault"  numeric(18,4) DEFAULT 0,
  "PriceForRoom"     numeric(18,4) DEFAULT 0,
  "PriceForMember"   numeric(18,4) DEFAULT 0,
  "PriceForRoomMember" numeric(18,4) DEFAULT 0,
  "PriceForCost"     numeric(18,4) DEFAULT 0
);
CREATE TABLE "mn_SpecailType" (
  "SpecailTypeID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "SpecailTypeName" citext COLLATE "C",
  "ListIndex"     integer DEFAULT 0
);
CREATE TABLE "mn_GroupType" (
  "GroupTypeID" citext COLLATE "C",
  "GroupTypeName" citext COLLATE "C",
  "ListIndex"   integer
);
CREATE TABLE "mn_GroupItem" (
  "GroupTypeID" citext COLLATE "C",
  "GroupItemID" citext COLLATE "C",
  "GroupItemType" citext COLLATE "C"
);

-- Tables and bookings ------------------------------------------------------------------------
CREATE TABLE "tb_TableArea" (
  "TableAreaID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "TableAreaName" citext COLLATE "C",
  "BranchID"    citext COLLATE "C"
);
CREATE TABLE "tb_Table" (
  "TableID"     citext COLLATE "C" NOT NULL PRIMARY KEY,
  "TableName"   citext COLLATE "C",
  "TableFullName" citext COLLATE "C",
  "TableAreaID" citext COLLATE "C",
  "SeatCount"   integer DEFAULT 4,
  "IsRoom"      integer DEFAULT 0
);
CREATE TABLE "tb_Book" (
  "BookID"      citext COLLATE "C" NOT NULL PRIMARY KEY,
  "TableID"     citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "BookPerson"  citext COLLATE "C",
  "PhoneNumber" citext COLLATE "C",
  "BookType"    citext COLLATE "C",
  "ArriveTime"  timestamp(0),
  "BookTime"    timestamp(0),
  "Period"      citext COLLATE "C",
  "PeopleCout"  integer DEFAULT 0,
  "Prepay"      numeric(18,4) DEFAULT 0,
  "Paid"        numeric(18,4) DEFAULT 0,
  "Status"      integer DEFAULT 0,
  "BranchID"    citext COLLATE "C",
  "Remark"      citext COLLATE "C"
);

-- Bills --------------------------------------------------------------------------------------
CREATE TABLE "bi_Bill" (
  "BillID"         citext COLLATE "C" NOT NULL PRIMARY KEY,
  "OriginalID"     citext COLLATE "C",
  "BillDate"       timestamp(0),
  "BillPeriod"     citext COLLATE "C",
  "TableID"        citext COLLATE "C",
  "TableName"      citext COLLATE "C",
  "TableFullName"  citext COLLATE "C",
  "TableAreaID"    citext COLLATE "C",
  "TableAreaName"  citext COLLATE "C",
  "PeopleCount"    integer DEFAULT 0,
  "CreatePersonID" citext COLLATE "C",
  "CreatePerson"   citext COLLATE "C",
  "CreateTime"     timestamp(0),
  "ChargePersonID" citext COLLATE "C",
  "ChargePerson"   citext COLLATE "C",
  "CheckOutPersonID" citext COLLATE "C",
  "CheckOutPerson" citext COLLATE "C",
  "CheckOutTime"   timestamp(0),
  "ShiftID"        citext COLLATE "C",
  "SumOfConsume"   numeric(18,4) DEFAULT 0,
  "ServiceRate"    numeric(18,4) DEFAULT 0,
  "SumOfService"   numeric(18,4) DEFAULT 0,
  "DiscountID"     citext COLLATE "C",
  "DiscountName"   citext COLLATE "C",
  "DiscountRate"   numeric(18,4) DEFAULT 1,
  "DiscountPerson" citext COLLATE "C",
  "SumForDiscount" numeric(18,4) DEFAULT 0,
  "SumToPay"       numeric(18,4) DEFAULT 0,
  "SumPaid"        numeric(18,4) DEFAULT 0,
  "SumInCash"      numeric(18,4) DEFAULT 0,
  "SumOfInvoice"   numeric(18,4) DEFAULT 0,
  "PrintCount"     integer DEFAULT 1,
  "CheckOutNull"   integer DEFAULT 0,
  "IsDeleted"      integer DEFAULT 0,
  "MemberID"       citext COLLATE "C",
  "MemberCardID"   citext COLLATE "C",
  "BranchID"       citext COLLATE "C",
  "BranchName"     citext COLLATE "C",
  "Remark"         citext COLLATE "C"
);
CREATE TABLE "bi_BillItem" (
  "BillItemID"   citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C" NOT NULL,
  "MenuID"       citext COLLATE "C",
  "MenuName"     citext COLLATE "C",
  "MenuUnitID"   citext COLLATE "C",
  "MenuUnitName" citext COLLATE "C",
  "MenuTypeID"   citext COLLATE "C",
  "MenuTypeName" citext COLLATE "C",
  "DepartTypeID" citext COLLATE "C",
  "DepartTypeName" citext COLLATE "C",
  "DepartID"     citext COLLATE "C",
  "DepartName"   citext COLLATE "C",
  "MenuPrice"    numeric(18,4) DEFAULT 0,
  "MenuPrice2"   numeric(18,4) DEFAULT 0,
  "CostPrice"    numeric(18,4) DEFAULT 0,
  "CookWay"      citext COLLATE "C",
  "SumOfCookway" numeric(18,4) DEFAULT 0,
  "AmountOrder"  numeric(18,4) DEFAULT 0,
  "AmountCancel" numeric(18,4) DEFAULT 0,
  "IsSentMenu"   integer DEFAULT 0,
  "SumOfConsume" numeric(18,4) DEFAULT 0,
  "SumOfService" numeric(18,4) DEFAULT 0,
  "SumForDiscount" numeric(18,4) DEFAULT 0,
  "CreatePersonID" citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "CreateTime"   timestamp(0)
);
CREATE TABLE "bi_BillPayment" (
  "BillPaymentID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C" NOT NULL,
  "SubjectID"    citext COLLATE "C",
  "SubjectName"  citext COLLATE "C",
  "PaySum"       numeric(18,4) DEFAULT 0,
  "ExchangeRate" numeric(18,4) DEFAULT 1,
  "SumPaid"      numeric(18,4) DEFAULT 0,
  "CreateTime"   timestamp(0)
);
CREATE TABLE "bi_SubBill" (
  "SubBillID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C",
  "BillItemID"   citext COLLATE "C",
  "SubBillType"  integer DEFAULT 2,
  "MenuAmount"   numeric(18,4) DEFAULT 0,
  "CreatePerson" citext COLLATE "C",
  "CreateTime"   timestamp(0),
  "Remark"       citext COLLATE "C"
);
CREATE TABLE "bi_UnCheckBill" (
  "UnCheckBillID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C" NOT NULL,
  "UnCheckTime"  timestamp(0),
  "UnCheckPerson" citext COLLATE "C",
  "SumPaid"      numeric(18,4) DEFAULT 0
);
CREATE TABLE "bi_UnCheckBillItem" (
  "UnCheckBillID" citext COLLATE "C" NOT NULL,
  "BillItemID"   citext COLLATE "C" NOT NULL,
  "BillID"       citext COLLATE "C" NOT NULL,
  "MenuID"       citext COLLATE "C",
  "MenuName"     citext COLLATE "C",
  "MenuUnitID"   citext COLLATE "C",
  "MenuUnitName" citext COLLATE "C",
  "MenuTypeID"   citext COLLATE "C",
  "MenuTypeName" citext COLLATE "C",
  "DepartTypeID" citext COLLATE "C",
  "DepartTypeName" citext COLLATE "C",
  "DepartID"     citext COLLATE "C",
  "DepartName"   citext COLLATE "C",
  "MenuPrice"    numeric(18,4) DEFAULT 0,
  "MenuPrice2"   numeric(18,4) DEFAULT 0,
  "CostPrice"    numeric(18,4) DEFAULT 0,
  "CookWay"      citext COLLATE "C",
  "SumOfCookway" numeric(18,4) DEFAULT 0,
  "AmountOrder"  numeric(18,4) DEFAULT 0,
  "AmountCancel" numeric(18,4) DEFAULT 0,
  "IsSentMenu"   integer DEFAULT 0,
  "SumOfConsume" numeric(18,4) DEFAULT 0,
  "SumOfService" numeric(18,4) DEFAULT 0,
  "SumForDiscount" numeric(18,4) DEFAULT 0,
  "CreatePersonID" citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "CreateTime"   timestamp(0)
);
CREATE TABLE "bi_UnCheckBillPayment" (
  "UnCheckBillID" citext COLLATE "C" NOT NULL,
  "BillPaymentID" citext COLLATE "C" NOT NULL,
  "BillID"       citext COLLATE "C" NOT NULL,
  "SubjectID"    citext COLLATE "C",
  "SubjectName"  citext COLLATE "C",
  "PaySum"       numeric(18,4) DEFAULT 0,
  "ExchangeRate" numeric(18,4) DEFAULT 1,
  "SumPaid"      numeric(18,4) DEFAULT 0,
  "CreateTime"   timestamp(0)
);
CREATE TABLE "bi_BillLog" (
  "LogID"        citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C",
  "TableID"      citext COLLATE "C",
  "TableName"    citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "CreateTime"   timestamp(0),
  "LogTypeID"    integer,
  "LogTypeName"  citext COLLATE "C",
  "Remark"       citext COLLATE "C"
);
CREATE TABLE "bi_TempBillLog" (
  "LogID"        citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C",
  "TableID"      citext COLLATE "C",
  "TableName"    citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "CreateTime"   timestamp(0),
  "LogTypeID"    integer,
  "LogTypeName"  citext COLLATE "C",
  "Remark"       citext COLLATE "C"
);
CREATE TABLE "bi_BillAccount" (
  "BillAccountID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillID"       citext COLLATE "C",
  "BillDate"     timestamp(0),
  "AccountType"  citext COLLATE "C",
  "SubjectID"    citext COLLATE "C",
  "SubjectName"  citext COLLATE "C",
  "AccountID"    citext COLLATE "C",
  "AccountName"  citext COLLATE "C",
  "Amount"       numeric(18,4) DEFAULT 0,
  "UserID"       citext COLLATE "C",
  "UserName"     citext COLLATE "C",
  "PeriodName"   citext COLLATE "C",
  "CreateTime"   timestamp(0)
);
CREATE TABLE "bi_Expense" (
  "BillDate"     timestamp(0),
  "Expense"      numeric(18,4)
);
CREATE TABLE "bi_ExpenseItem" (
  "BillDate"     timestamp(0),
  "Expense"      numeric(18,4),
  "ExpenseID"    citext COLLATE "C",
  "ExpenseName"  citext COLLATE "C",
  "ListIndex"    integer
);

-- Data uploaded by branches ------------------------------------------------------------------
CREATE TABLE "rp_BillItem_Upload" (
  "BillDate"     timestamp(0),
  "BranchID"     citext COLLATE "C",
  "BranchName"   citext COLLATE "C",
  "DepartTypeID" citext COLLATE "C",
  "DepartTypeName" citext COLLATE "C",
  "MenuTypeID"   citext COLLATE "C",
  "MenuTypeName" citext COLLATE "C",
  "DepartName"   citext COLLATE "C",
  "MenuID"       citext COLLATE "C",
  "MenuName"     citext COLLATE "C",
  "MenuUnitName" citext COLLATE "C",
  "theAmount"    numeric(18,4) DEFAULT 0,
  "theConsume"   numeric(18,4) DEFAULT 0,
  "theService"   numeric(18,4) DEFAULT 0,
  "theDiscount"  numeric(18,4) DEFAULT 0
);
CREATE TABLE "rp_BillPayment_Upload" (
  "BillDate"     timestamp(0),
  "BranchID"     citext COLLATE "C",
  "BranchName"   citext COLLATE "C",
  "SubjectID"    citext COLLATE "C",
  "SubjectName"  citext COLLATE "C",
  "thePaySum"    numeric(18,4) DEFAULT 0,
  "theSumPaid"   numeric(18,4) DEFAULT 0
);
CREATE TABLE "rp_Inventory_Upload" (
  "ItemID"       citext COLLATE "C",
  "ItemName"     citext COLLATE "C",
  "ToSpell"      citext COLLATE "C",
  "Spec"         citext COLLATE "C",
  "ItemTypeID"   citext COLLATE "C",
  "ItemTypeName" citext COLLATE "C",
  "StockType"    citext COLLATE "C",
  "Unit"         citext COLLATE "C",
  "UnitPrice"    numeric(18,4) DEFAULT 0,
  "BranchID"     citext COLLATE "C",
  "BranchName"   citext COLLATE "C",
  "OnHandQty"    numeric(18,4) DEFAULT 0,
  "OnHandSum"    numeric(18,4) DEFAULT 0,
  "MinQty"       numeric(18,4) DEFAULT 0,
  "MaxQty"       numeric(18,4) DEFAULT 0
);

-- Stock --------------------------------------------------------------------------------------
CREATE TABLE "st_Bill" (
  "BillID"       citext COLLATE "C" NOT NULL PRIMARY KEY,
  "BillDate"     timestamp(0),
  "BillTypeID"   integer,
  "FROM"         citext COLLATE "C",
  "Into"         citext COLLATE "C",
  "TotalSum"     numeric(18,4) DEFAULT 0,
  "StockName"    citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "Remark"       citext COLLATE "C"
);
CREATE TABLE "st_BOM" (
  "BillDate"     timestamp(0),
  "BranchID"     citext COLLATE "C",
  "BranchName"   citext COLLATE "C",
  "ItemID"       citext COLLATE "C",
  "ItemName"     citext COLLATE "C",
  "Spec"         citext COLLATE "C",
  "Unit"         citext COLLATE "C",
  "ItemTypeID"   citext COLLATE "C",
  "ItemTypeName" citext COLLATE "C",
  "QtyUse"       numeric(18,4) DEFAULT 0,
  "QtyBom"       numeric(18,4) DEFAULT 0
);

-- Members and accounts -----------------------------------------------------------------------
CREATE TABLE "mb_MemberType" (
  "MemberTypeID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "MemberTypeName" citext COLLATE "C",
  "DiscountRate" numeric(18,4) DEFAULT 1
);
CREATE TABLE "mb_MemberInfo" (
  "MemberID"     citext COLLATE "C" NOT NULL PRIMARY KEY,
  "MemberCardID" citext COLLATE "C",
  "MemberTypeID" citext COLLATE "C",
  "MemberTypeName" citext COLLATE "C",
  "MemberName"   citext COLLATE "C",
  "Sex"          citext COLLATE "C",
  "BirthDate"    timestamp(0),
  "BirthMonth"   integer,
  "BirthDay"     integer,
  "PhoneNumber"  citext COLLATE "C",
  "MobileNumber" citext COLLATE "C",
  "ConsumeSum"   numeric(18,4) DEFAULT 0,
  "ConsumeCount" integer DEFAULT 0,
  "IntegralSum"  numeric(18,4) DEFAULT 0,
  "Balance"      numeric(18,4) DEFAULT 0,
  "LockFlag"     integer DEFAULT 0,
  "IsNewCard"    integer DEFAULT 0,
  "LimitTime"    timestamp(0),
  "CreateTime"   timestamp(0),
  "BranchID"     citext COLLATE "C"
);
CREATE TABLE "mb_Summary" (
  "SummaryID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "MemberID"     citext COLLATE "C",
  "MemberCardID" citext COLLATE "C",
  "MemberName"   citext COLLATE "C",
  "MemberTypeName" citext COLLATE "C",
  "SummaryName"  citext COLLATE "C",
  "CreateTime"   timestamp(0),
  "CreatePlace"  citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "LimitTime"    timestamp(0),
  "Expense"      numeric(18,4) DEFAULT 0,
  "SumPaid"      numeric(18,4) DEFAULT 0,
  "IntegralChange" numeric(18,4) DEFAULT 0,
  "BillID"       citext COLLATE "C",
  "Remark"       citext COLLATE "C"
);
CREATE TABLE "ac_AccountType" (
  "AccountTypeID" citext COLLATE "C" NOT NULL PRIMARY KEY,
  "AccountTypeName" citext COLLATE "C"
);
CREATE TABLE "ac_Account" (
  "AccountID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "AccountName"  citext COLLATE "C",
  "AccountTypeID" citext COLLATE "C",
  "Balance"      numeric(18,4) DEFAULT 0,
  "CreditLimit"  numeric(18,4) DEFAULT 0,
  "LinkMan"      citext COLLATE "C",
  "PhoneNumber"  citext COLLATE "C"
);
CREATE TABLE "ac_Payment" (
  "PaymentID"    citext COLLATE "C" NOT NULL PRIMARY KEY,
  "AccountID"    citext COLLATE "C",
  "PaymentType"  integer DEFAULT 0,
  "BillID"       citext COLLATE "C",
  "BillDate"     timestamp(0),
  "Amount"       numeric(18,4) DEFAULT 0,
  "CreatePersonID" citext COLLATE "C",
  "CreatePerson" citext COLLATE "C",
  "CreateTime"   timestamp(0),
  "Remark"       citext COLLATE "C"
);

-- @indexes (the demo generator creates these after its bulk load)
CREATE INDEX ix_bi_Bill_BillDate ON "bi_Bill" ("BillDate");
CREATE INDEX ix_bi_Bill_Branch ON "bi_Bill" ("BranchID", "BillDate");
CREATE INDEX ix_bi_Bill_Member ON "bi_Bill" ("MemberID");
CREATE INDEX ix_bi_Bill_Original ON "bi_Bill" ("OriginalID");
CREATE INDEX ix_bi_BillItem_BillID ON "bi_BillItem" ("BillID");
CREATE INDEX ix_bi_BillPayment_BillID ON "bi_BillPayment" ("BillID");
-- Covering indexes for the period sums of the daily report (bills of a date range joined to their
-- item lines and payments): the joined rows are read from the index, never from the wide tables.
CREATE INDEX ix_bi_Bill_BranchCover ON "bi_Bill" ("BranchID", "BillDate", "CheckOutNull", "IsDeleted") INCLUDE ("BillID");
CREATE INDEX ix_bi_Bill_DateCover ON "bi_Bill" ("BillDate", "CheckOutNull", "IsDeleted") INCLUDE ("BillID");
CREATE INDEX ix_bi_BillItem_Sales ON "bi_BillItem" ("BillID", "IsSentMenu", "DepartTypeName") INCLUDE ("SumOfConsume", "DepartTypeID", "MenuTypeID", "MenuID", "CostPrice", "AmountOrder", "AmountCancel");
CREATE INDEX ix_bi_BillPayment_Subject ON "bi_BillPayment" ("BillID", "SubjectID") INCLUDE ("SumPaid");
CREATE INDEX ix_bi_SubBill_BillItemID ON "bi_SubBill" ("BillItemID");
-- The returns (SubBillType 2) of a range found from their own rows: a scan of the item lines
-- finds the few returned among millions.
CREATE INDEX ix_bi_SubBill_Type ON "bi_SubBill" ("SubBillType", "BillItemID");
CREATE INDEX ix_bi_UnCheckBill_BillID ON "bi_UnCheckBill" ("BillID");
CREATE INDEX ix_bi_UnCheckBillItem_ID ON "bi_UnCheckBillItem" ("UnCheckBillID");
CREATE INDEX ix_bi_UnCheckBillPayment_ID ON "bi_UnCheckBillPayment" ("UnCheckBillID");
CREATE INDEX ix_bi_BillLog_CreateTime ON "bi_BillLog" ("CreateTime");
CREATE INDEX ix_bi_TempBillLog_CreateTime ON "bi_TempBillLog" ("CreateTime");
CREATE INDEX ix_bi_BillAccount_BillDate ON "bi_BillAccount" ("BillDate");
CREATE INDEX ix_bi_Expense_BillDate ON "bi_Expense" ("BillDate");
CREATE INDEX ix_bi_ExpenseItem_BillDate ON "bi_ExpenseItem" ("BillDate");
CREATE INDEX ix_rp_BillItem_Upload_Date ON "rp_BillItem_Upload" ("BillDate", "BranchID");
CREATE INDEX ix_rp_BillPayment_Upload_Date ON "rp_BillPayment_Upload" ("BillDate", "BranchID");
CREATE INDEX ix_rp_Inventory_Upload_Branch ON "rp_Inventory_Upload" ("BranchID", "ItemID");
CREATE INDEX ix_st_Bill_BillDate ON "st_Bill" ("BillDate");
CREATE INDEX ix_st_BOM_BillDate ON "st_BOM" ("BillDate", "BranchID");
CREATE INDEX ix_mb_MemberInfo_Card ON "mb_MemberInfo" ("MemberCardID");
CREATE INDEX ix_mb_Summary_CreateTime ON "mb_Summary" ("CreateTime");
CREATE INDEX ix_ac_Payment_BillDate ON "ac_Payment" ("BillDate");
CREATE INDEX ix_ac_Payment_Account ON "ac_Payment" ("AccountID");
CREATE INDEX ix_tb_Book_ArriveTime ON "tb_Book" ("ArriveTime");
CREATE INDEX ix_rpt_pv_Branch_User ON "rpt_pv_Branch" ("UserID");
CREATE INDEX ix_rpt_pv_Area_User ON "rpt_pv_Area" ("UserID");
