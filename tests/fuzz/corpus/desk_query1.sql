Select * From kashibo
  where kashidashiF='1'  and BOOK_ID=:PM