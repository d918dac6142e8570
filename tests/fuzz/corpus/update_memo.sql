Update Yoyaku Set Memo = :PM1
 Where Book_ID = :PM2 and Yoyaku_No = :PM3