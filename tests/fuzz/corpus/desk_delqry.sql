Delete From kashibo
 Where BOOK_ID=:PM1 and kashidashiF="1"