Select name.Name_ID ,name.Seito_No,Name, YoyakuDTime yoyakuDTime, syomei2, Memo, Book_ID, Yoyaku_No From yoyaku
  Left Join Name On yoyaku.Name_ID=Name.Name_ID
  Left Join Book On yoyaku.Book_ID=Book.Book_ID
 where Book_ID=:PM1 or ( ISBN_ID is not Null and ISBN_ID=:PM2)
 Order By YoyakuDTime