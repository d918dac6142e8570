Select yoyakuDTime, Book_ID,Name_ID From yoyaku
 where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)
 Order By YoyakuDTime