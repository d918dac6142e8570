Delete From yoyaku
 Where (Book_ID=:PM1 or (ISBN_ID is Not Null and ISBN_ID=:PM2)) and Name_ID=:PM3